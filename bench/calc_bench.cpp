#include <benchmark/benchmark.h>

#include <array>

#include "BuiltInCommands.h"
#include "FrameCalc.h"

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

BENCHMARK_MAIN();
