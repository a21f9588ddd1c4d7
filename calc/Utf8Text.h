#pragma once

// Internal helpers of the calculation and the decoder: where a character of a UTF-8 text stands,
// for messages that point at it.

#include <cstddef>
#include <string>
#include <string_view>

// Whether "c" continues a UTF-8 character rather than starting one.
inline bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where byte "at" of "text" stands, counted in characters from 1: UTF-8 continuation bytes
// belong to the character before them. "at" may be the end of the text.
inline std::size_t CharacterPosition(std::string_view text, std::size_t at) {
  std::size_t position = 1;
  for (std::size_t i = 0; i < at; ++i) position += !IsUtf8Continuation(text[i]);
  return position;
}

// The whole character that starts at byte "at" of "text", with its UTF-8 continuation bytes.
inline std::string CharacterAt(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && IsUtf8Continuation(text[end])) ++end;
  return std::string(text.substr(at, end - at));
}
