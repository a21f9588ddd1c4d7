#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "BuiltInCommands.h"
#include "FrameCalc.h"
#include "FrameTable.h"
#include "TableText.h"

// One calculation as the window runs it after every keystroke: CTRL_POSITION with the default
// addresses and the values its editors start with (channel 0, action UP/ON).
static void BM_CalcFrameCtrlPosition(benchmark::State& state) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  const TCommand* command = commands.Find("CTRL_POSITION");
  const std::array<TParamValue, 2> values = {0, 1};
  for (auto _ : state) {
    TCalcResult result = CalcFrame(command, kDefaultHost, kDefaultSlave, values);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CalcFrameCtrlPosition);

// The table of a whole installation as the window and "brelvik-frame table" make it: all fifteen
// commands with their default sets, 429 rows (goal: under 2 ms).
static void BM_TableAllCommands(benchmark::State& state) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  for (auto _ : state) {
    TTable table = CalcTable(DefaultTableCommands(commands, nullptr), kDefaultHost, kDefaultSlave);
    benchmark::DoNotOptimize(table);
  }
  state.SetItemsProcessed(state.iterations() * 429);
}
BENCHMARK(BM_TableAllCommands)->Unit(benchmark::kMicrosecond);

// The same table written as CSV, as "Save as CSV..." and the command line write it.
static void BM_TableAllCommandsAsCsv(benchmark::State& state) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  for (auto _ : state) {
    const TTable table =
        CalcTable(DefaultTableCommands(commands, nullptr), kDefaultHost, kDefaultSlave);
    std::string csv = TableText(table.Rows, TTableFormat::Csv);
    benchmark::DoNotOptimize(csv);
  }
}
BENCHMARK(BM_TableAllCommandsAsCsv)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
