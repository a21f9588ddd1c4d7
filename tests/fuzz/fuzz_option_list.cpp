// Fuzzes Split with a fuzzed delimiter and text, and the reading of an option list into its
// items: no empty piece, pieces in the order of the text, no piece holding the delimiter, and
// every item made of a value text and a label that hold neither ";" nor "=".

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "OptionList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string delimiter = input.ConsumeRandomLengthString(4);
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::vector<std::string> pieces = Split(text, delimiter);
  std::size_t from = 0;
  for (const std::string& piece : pieces) {
    FUZZ_CHECK(!piece.empty());
    if (!delimiter.empty()) FUZZ_CHECK(piece.find(delimiter) == std::string::npos);
    const std::size_t at = text.find(piece, from);
    FUZZ_CHECK(at != std::string::npos);
    from = at + piece.size();
  }
  if (delimiter.empty() || text.find(delimiter) == std::string::npos) {
    FUZZ_CHECK(pieces == (text.empty() ? std::vector<std::string>{} : std::vector{text}));
  }

  const std::vector<TOptionItem> items = ReadOptionItems(text);
  FUZZ_CHECK(items.size() <= Split(text, ";").size());
  for (const TOptionItem& item : items) {
    FUZZ_CHECK(!item.ValueText.empty() && !item.Label.empty());
    for (const std::string* part : {&item.ValueText, &item.Label}) {
      FUZZ_CHECK(part->find_first_of(";=") == std::string::npos);
    }
    FUZZ_CHECK(item.Value == ValueTextToInt(item.ValueText));
  }
  return 0;
}
