#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TProperty.h"

// One command of the transmitter: its texts, its frame codes and its ordered parameters.
// A command is an identity: it can be neither copied nor moved, so references to it stay valid.
class TCommand {
 public:
  // Creates a command of group "category" with empty texts and no parameters.
  explicit TCommand(std::string category);

  TCommand(const TCommand&) = delete;
  TCommand& operator=(const TCommand&) = delete;

  // Appends an "INTEGER" parameter; "defaultValue" may lie outside "min".."max".
  void AddInteger(std::string name, std::int32_t min, std::int32_t max, std::int32_t defaultValue);

  // Appends a "LIST" parameter choosing from "options", starting on item number "defaultIndex".
  void AddList(std::string name, std::string options, std::int32_t defaultIndex);

  // Returns the number of parameters.
  std::int32_t PropertyCount() const;

  // Returns the parameter at "index"; throws std::out_of_range unless 0 <= index < PropertyCount().
  const TProperty& GetProperty(std::int32_t index) const;

  // The parameters in the order they were appended: the order of the editors and of the
  // parameter bytes in the frame.
  std::vector<std::unique_ptr<TProperty>> Properties;
  std::string Category;     // "Setting", "Control" or "Status" for the built-in commands.
  std::string Description;  // Lines separated by a single line feed.
  std::string MessageName;  // Symbolic name, e.g. "SET_CHANNEL_MODE".
  std::string Msg;          // Message code: two hexadecimal digits, e.g. "90".
  std::string Len;          // Length code: two hexadecimal digits, stored, never computed.
};
