#pragma once

#include <vector>

#include "run/ScenarioLine.h"
#include "winsys/HeadlessScript.h"

// The steps of a user in a dialog, to the end of the line, at least one:
//   settext ID "text" | check ID on|off | select ID INDEX | selecttext ID "text" |
//   position ID N | hotkey ID [shift+][ctrl+][alt+][ext+]KEY | treecheck ID on|off "item"... |
//   treeselect ID "item"... | press ID | hold ID | release ID | close
std::vector<win::headless::Step> parseDialogSteps(ScenarioLine& line);
