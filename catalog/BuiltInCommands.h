#pragma once

#include "TListCommands.h"

// Appends the fifteen commands of the transmitter to "commands", in catalogue order, after
// whatever the list already holds.
void AddBuiltInCommands(TListCommands& commands);
