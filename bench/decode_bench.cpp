#include <benchmark/benchmark.h>

#include <string_view>

#include "BuiltInCommands.h"
#include "FrameDecode.h"

// One decode of the Loxone string that the calculator gives for CTRL_POSITION with the default
// addresses and the values its editors start with: the string an installer pastes to check it.
static void BM_DecodeFrameLoxone(benchmark::State& state) {
  TListCommands commands;
  AddBuiltInCommands(commands);
  constexpr std::string_view kLoxone = R"(\x7F\xF2\xFA\xFF\x00\x00\xFD\xFF\xFA\xFF\xFE\x08\x5D)";
  for (auto _ : state) {
    TDecodeResult result = DecodeFrame(commands, kLoxone);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_DecodeFrameLoxone);
