#include "TListCommands.h"

#include <stdexcept>
#include <utility>

#include "TextCompare.h"

TCommand& TListCommands::Add(std::string category) {
  commands_.push_back(std::make_unique<TCommand>(std::move(category)));
  return *commands_.back();
}

std::int32_t TListCommands::Count() const { return static_cast<std::int32_t>(commands_.size()); }

const TCommand& TListCommands::Items(std::int32_t index) const {
  if (index < 0 || index >= Count()) {
    throw std::out_of_range("command index " + std::to_string(index) + " out of range 0.." +
                            std::to_string(Count() - 1));
  }
  return *commands_[static_cast<std::size_t>(index)];
}

TCommand& TListCommands::Items(std::int32_t index) {
  return const_cast<TCommand&>(std::as_const(*this).Items(index));
}

const TCommand* TListCommands::Find(std::string_view messageName) const {
  for (const auto& command : commands_) {
    if (command->MessageName == messageName) return command.get();
  }
  for (const auto& command : commands_) {
    if (EqualsIgnoringCase(command->MessageName, messageName)) return command.get();
  }
  return nullptr;
}
