#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// What the type word of a message box means, for the backends that show one.
namespace win::model {

// The answers the buttons give, in the order shown; unknown button sets show OK only.
std::vector<int> messageBoxButtons(UINT type);
// The answer of a user who only closes the box: Cancel if there is one, else No, else OK.
int closingAnswer(UINT type);
// "error", "question", "warning", "information"; "plain" without an icon.
std::string messageBoxIcon(UINT type);
// "OK", "Cancel", "Yes", "No"; the number for others.
std::string answerName(int answer);

} // namespace win::model
