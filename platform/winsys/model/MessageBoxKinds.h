#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// What the type word of a message box means.
namespace win::model {

// The answers the buttons give, in the order shown; unknown button sets show OK only.
std::vector<int> messageBoxButtons(UINT type);
// "error", "question", "warning", "information"; "plain" without an icon.
std::string messageBoxIcon(UINT type);
// "OK", "Cancel", "Yes", "No"; the number for others.
std::string answerName(int answer);

} // namespace win::model
