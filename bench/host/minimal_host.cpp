// pilecap_minimal_host: the smallest host of libpilecap.so, as a program that
// embeds the engine would be: it opens the library at run time, changes into
// a folder that already holds "Names.dat" (the bench scripts take it from a
// run of pilecap-run) and calls DUVIZU once. It sets no thread count and no
// wait policy of the parallel runtime, so the engine runs as it would for
// any host. Exit status: DUVIZU's result, or 2 when the library or the
// folder cannot be used.
//   usage: pilecap_minimal_host LIBRARY FOLDER
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int EXIT_USAGE = 2;
constexpr const char* ENTRY_POINT = "DUVIZU";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pilecap_minimal_host LIBRARY FOLDER\n");
    return EXIT_USAGE;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "pilecap_minimal_host: %s\n", dlerror());
    return EXIT_USAGE;
  }
  using Entry = int (*)();
  const auto entry = reinterpret_cast<Entry>(dlsym(library, ENTRY_POINT));
  if (entry == nullptr) {
    std::fprintf(stderr, "pilecap_minimal_host: %s\n", dlerror());
    return EXIT_USAGE;
  }
  if (chdir(argv[2]) != 0) {
    std::fprintf(stderr, "pilecap_minimal_host: cannot change into %s\n", argv[2]);
    return EXIT_USAGE;
  }
  return entry();
}
