#pragma once

#include <string>
#include <utility>
#include <vector>

// What the test add-on (TestAddon.cpp) has reported to the test program, in order: the event
// ("start", "subclassed", "stop", "unloaded") and the content of its "Panels" word then.
using TestAddonEvents = std::vector<std::pair<std::string, const void*>>;
TestAddonEvents& testAddonEvents();
