#pragma once

#include <cstdint>
#include <string>

#include "alerts/MessageBox.h"

// The box a caught error is shown in: caption, icon and a closing sentence chosen by severity.
MessageBoxRequest errorBoxFor(const std::string& userText, uint32_t severity);

// Shows the error box and returns when the user has closed it; never throws.
void showError(const std::string& userText, uint32_t severity) noexcept;
