// Reading the input data file: a generated 3D model of n piles and 100 load
// cases, each case with concentrated loads and distributed-load entries over
// all piles, read from memory. Bytes per second should stay flat as n grows,
// since reading is linear in the size of the file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "base/fio.hpp"
#include "input/input.hpp"
#include "model/model_store.hpp"
#include "run/run.hpp"

namespace {

constexpr int LOAD_CASES = 100;
constexpr int LOADS_PER_CASE = 5;

std::string line_of(int count, const std::string& value) {
  std::string text;
  for (int k = 0; k < count; ++k) text += value + (k + 1 < count ? " " : "\n");
  return text;
}

// A 3D deck: every section with a count present, each pile a full row.
std::string generated_deck(int n_piles) {
  std::string t = "BENCH MODEL\nSECOND TITLE\nOPTIONS\n1 3 " + line_of(22, "0");
  t += "PILE CAP\n10 10 2 0 0 0\nLOAD CASES\n" + std::to_string(LOAD_CASES) + " 0 0 0 0\n";
  for (int i = 1; i <= LOAD_CASES; ++i) {
    t += "0 0 0 1 1 100 100\n0.001 0.0001 0.25 0.01\nCASE " + std::to_string(i) + "\n";
    t += line_of(8, "0") + "2 1 1.0 0 0.1 0.01 0 0 0 0 0\n0\n" + line_of(25, "1");
    t += std::to_string(LOADS_PER_CASE) + "\n";
    for (int j = 0; j < LOADS_PER_CASE; ++j) t += "1000.5 -250.25 12.5e3 0 0 0 0.0 1.5 -2.5\n";
    t += "1\n1 1 1 " + std::to_string(n_piles) + " 1 1 1.0 1 1.0\n0\n2\n0.5\n1.0\n" + line_of(8, "0") + "0\n";
  }
  t += "LOAD COMBINATIONS\n0 0 0 0 0\nDISTRIBUTED LOAD SETS\n1\n2\n0 1.5\n30 2.5\nSOIL MOVEMENT SETS\n0\n";
  t += "PILE ARRANGEMENT\n" + std::to_string(n_piles) + "\n";
  for (int p = 1; p <= n_piles; ++p) {
    t += "1 1 1 0 0 0 0 0 0 0\n1.0 1.0 1.0 1.0 1.0 1.0 1.0\n" + std::to_string(p * 3.5) + " 0.5 -1.25 0 0 0 0\n";
  }
  t += "PROPERTY SETS\n1\n1 1\n40 60.0 1\n0 60 1\nCROSS SECTIONS\n0\nSOIL LAYERS\n0\n";
  t += "GENERATED LOAD-SETTLEMENT CURVES\n0\nGENERATED TORQUE-ROTATION CURVES\n0\nMOMENT-CURVATURE SETS\n0\n";
  return t;
}

void BM_ReadInputFile(benchmark::State& state) {
  const std::string deck = generated_deck(static_cast<int>(state.range(0)));
  int status = 0;
  pilecap::ALLOCATE_MODEL_ARRAYS(status);
  pilecap::RunFiles.curve_export_file = (std::filesystem::temp_directory_path() / "pilecap_bench_curves.dat").string();
  for (auto _ : state) {
    pilecap::fio::open_memory(pilecap::UNIT_INPUT, deck);
    pilecap::fio::open_memory(pilecap::UNIT_RUN_LOG);
    status = pilecap::STATUS_OK;
    pilecap::READ_INPUT_FILE(status);
    if (status != pilecap::STATUS_OK) {
      state.SkipWithError(("the generated deck did not read: " + pilecap::STATUS_DETAIL()).c_str());
      break;
    }
    benchmark::DoNotOptimize(pilecap::PileArrangementInput.real_3d(1, 8));
  }
  pilecap::fio::close_all();
  pilecap::RELEASE_MODEL_ARRAYS(status);
  std::filesystem::remove(pilecap::RunFiles.curve_export_file);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(deck.size()));
}
BENCHMARK(BM_ReadInputFile)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
