// Fuzzes the readers of value texts: an option's value text (ValueTextToInt) and a value typed on
// the command line (ReadNumberText, and ReadParamValue against the built-in parameters). Every
// number written back out reads as itself, and a value read for a list parameter from a label is
// one of its options.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "BuiltInCatalog.h"
#include "FuzzCheck.h"
#include "OptionList.h"
#include "ParamValues.h"

namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::int32_t number = input.ConsumeIntegral<std::int32_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  // Any text reads as some number, or as 0; a trailing blank is never part of a number.
  const std::int32_t read = ValueTextToInt(text);
  if (!text.empty() && text.back() == ' ') FUZZ_CHECK(read == 0);
  FUZZ_CHECK(ValueTextToInt(std::to_string(number)) == number);
  FUZZ_CHECK(ValueTextToInt("  " + std::to_string(number)) == number);
  const auto pattern = static_cast<std::uint32_t>(number);
  FUZZ_CHECK(ValueTextToInt("$" + Hex(pattern)) == number);
  FUZZ_CHECK(ValueTextToInt("0x" + Hex(pattern)) == number);

  const std::optional<std::int64_t> typed = ReadNumberText(text);
  FUZZ_CHECK(ReadNumberText(std::to_string(number)) == std::int64_t{number});
  if (typed && !text.empty()) {
    FUZZ_CHECK(text.find(' ') == std::string::npos);
    // The same value written out in decimal reads the same, unless it was held at a limit.
    FUZZ_CHECK(ReadNumberText(std::to_string(*typed)) == typed);
  }

  const TListCommands& commands = BuiltIn();
  for (std::int32_t i = 0; i < commands.Count(); ++i) {
    for (const auto& property : commands.Items(i).Properties) {
      const std::optional<std::int64_t> value = ReadParamValue(*property, text);
      if (typed) {
        FUZZ_CHECK(value == typed);
      } else if (value) {
        FUZZ_CHECK(property->Type == kTypeList && IsAllowedValue(*property, *value));
        FUZZ_CHECK(OptionLabel(*property, *value).has_value());
      }
    }
  }
  return 0;
}
