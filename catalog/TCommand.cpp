#include "TCommand.h"

#include <stdexcept>
#include <utility>

TCommand::TCommand(std::string category) : Category(std::move(category)) {}

void TCommand::AddInteger(std::string name, std::int32_t min, std::int32_t max,
                          std::int32_t defaultValue) {
  auto property = std::make_unique<TProperty>();
  property->Type = kTypeInteger;
  property->Name = std::move(name);
  property->Min = min;
  property->Max = max;
  property->Default = defaultValue;
  Properties.push_back(std::move(property));
}

void TCommand::AddList(std::string name, std::string options, std::int32_t defaultIndex) {
  auto property = std::make_unique<TProperty>();
  property->Type = kTypeList;
  property->Name = std::move(name);
  property->Options = std::move(options);
  property->Default = defaultIndex;
  Properties.push_back(std::move(property));
}

std::int32_t TCommand::PropertyCount() const {
  return static_cast<std::int32_t>(Properties.size());
}

const TProperty& TCommand::GetProperty(std::int32_t index) const {
  if (index < 0 || index >= PropertyCount()) {
    throw std::out_of_range("parameter index " + std::to_string(index) + " out of range 0.." +
                            std::to_string(PropertyCount() - 1));
  }
  return *Properties[static_cast<std::size_t>(index)];
}
