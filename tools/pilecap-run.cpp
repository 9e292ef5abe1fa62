// pilecap-run: the stand-in host. Until the run sequence is in place it only
// reports the engine's version.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("usage: pilecap-run [--threads N] INPUT [OUTDIR]\n");
    return 0;
  }
  std::printf("pilecap %s\n", PILECAP_VERSION);
  return 0;
}
