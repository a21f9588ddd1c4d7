#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "TCommand.h"

// The catalogue: an owning list of commands in creation order. Commands are never removed or
// reordered, so a reference handed out by Add or Items stays valid as long as the list lives.
class TListCommands {
 public:
  TListCommands() = default;
  TListCommands(const TListCommands&) = delete;
  TListCommands& operator=(const TListCommands&) = delete;

  // Appends a new command of group "category" and returns it for the caller to fill in.
  TCommand& Add(std::string category);

  // Returns the number of commands.
  std::int32_t Count() const;

  // Returns the command at "index"; throws std::out_of_range unless 0 <= index < Count().
  const TCommand& Items(std::int32_t index) const;
  TCommand& Items(std::int32_t index);

  // Returns the command whose MessageName is "messageName", spelled exactly or else with letter
  // case ignored; null when there is none.
  const TCommand* Find(std::string_view messageName) const;

 private:
  std::vector<std::unique_ptr<TCommand>> commands_;
};
