#pragma once

#include "BuiltInCommands.h"
#include "TListCommands.h"

// The built-in catalogue, made once for the whole run of a test or fuzz target and never
// changed.
inline const TListCommands& BuiltIn() {
  static const TListCommands* commands = [] {
    auto* list = new TListCommands;
    AddBuiltInCommands(*list);
    return list;
  }();
  return *commands;
}
