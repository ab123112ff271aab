#pragma once

#include <memory>

#include "winsys/Backend.h"

namespace win::headless {

// The backend without a screen: every interaction is answered from the script (HeadlessScript.h).
std::unique_ptr<Backend> makeHeadlessBackend();

} // namespace win::headless
