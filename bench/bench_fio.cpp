// Throughput of the report path: a result row of 29 real fields through
// WRITE_REAL_FIELD, and a list-directed read of a long numeric line.
#include <benchmark/benchmark.h>

#include <string>

#include "base/fio.hpp"
#include "run/run.hpp"

namespace {

constexpr int BENCH_UNIT = 95;
constexpr int FIELDS_PER_ROW = 29;

void BM_ReportRow(benchmark::State& state) {
  pilecap::fio::open_memory(BENCH_UNIT);
  double value = 0.000123;
  for (auto _ : state) {
    pilecap::WRITE_BLANKS(BENCH_UNIT, 2);
    for (int field = 0; field < FIELDS_PER_ROW; ++field) {
      pilecap::WRITE_REAL_FIELD(BENCH_UNIT, 14, 5, value * (field + 1) * (field % 3 == 0 ? -1 : 1));
    }
    pilecap::END_REPORT_LINE(BENCH_UNIT);
    value *= 1.37;
    if (value > 1e8) value = 0.000123;
    // Keep the memory unit from growing without bound.
    if (state.iterations() % 1024 == 0) pilecap::fio::open_memory(BENCH_UNIT);
  }
  pilecap::fio::close(BENCH_UNIT);
  state.SetItemsProcessed(state.iterations() * FIELDS_PER_ROW);
}
BENCHMARK(BM_ReportRow);

void BM_ListReadLongLine(benchmark::State& state) {
  constexpr int VALUES = 200;
  std::string line;
  for (int k = 0; k < VALUES; ++k) line += std::to_string(0.125 * k + 1e-3 * k) + (k % 7 == 0 ? ", " : " ");
  line += "\n";
  std::string text;
  constexpr int LINES = 256;
  for (int k = 0; k < LINES; ++k) text += line;
  std::vector<double> targets(VALUES);
  int lines_left = 0;
  for (auto _ : state) {
    if (lines_left == 0) {
      state.PauseTiming();
      pilecap::fio::open_memory(BENCH_UNIT, text);
      lines_left = LINES;
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(pilecap::fio::read_list(BENCH_UNIT, targets));
    --lines_left;
  }
  pilecap::fio::close(BENCH_UNIT);
  state.SetItemsProcessed(state.iterations() * VALUES);
}
BENCHMARK(BM_ListReadLongLine);

}  // namespace
