#include "run/VirtualKeys.h"

#include <array>
#include <charconv>
#include <string>

#include "text/AsciiCase.h"
#include "winsys/Messages.h"

namespace {

struct NamedKey {
    std::string_view name;
    int code;
};

// The keys that have a name of their own; codes beyond the window system's constants are the
// original platform's.
constexpr std::array<NamedKey, 33> kNamedKeys = {{
    {"BACK", 0x08},
    {"TAB", 0x09},
    {"RETURN", 0x0D},
    {"ENTER", 0x0D},
    {"SHIFT", win::VK_SHIFT},
    {"CONTROL", win::VK_CONTROL},
    {"CTRL", win::VK_CONTROL},
    {"MENU", win::VK_MENU},
    {"ALT", win::VK_MENU},
    {"PAUSE", 0x13},
    {"ESCAPE", win::VK_ESCAPE},
    {"ESC", win::VK_ESCAPE},
    {"SPACE", win::VK_SPACE},
    {"PRIOR", win::VK_PRIOR},
    {"PAGEUP", win::VK_PRIOR},
    {"NEXT", win::VK_NEXT},
    {"PAGEDOWN", win::VK_NEXT},
    {"END", win::VK_END},
    {"HOME", win::VK_HOME},
    {"LEFT", win::VK_LEFT},
    {"UP", win::VK_UP},
    {"RIGHT", win::VK_RIGHT},
    {"DOWN", win::VK_DOWN},
    {"INSERT", win::VK_INSERT},
    {"DELETE", win::VK_DELETE},
    {"MULTIPLY", win::VK_MULTIPLY},
    {"ADD", win::VK_ADD},
    {"SEPARATOR", 0x6C},
    {"SUBTRACT", win::VK_SUBTRACT},
    {"DECIMAL", 0x6E},
    {"DIVIDE", win::VK_DIVIDE},
    {"NUMLOCK", 0x90},
    {"SCROLL", 0x91},
}};

constexpr int kFirstFunctionKey = 0x70; // F1
constexpr int kFirstNumpadKey = 0x60;   // NUMPAD0

// The number after `prefix` when it is written plainly (no sign, no leading zero) and is at most
// max; -1 otherwise.
int numberAfter(std::string_view name, std::string_view prefix, int max) {
    if (!name.starts_with(prefix))
        return -1;
    const std::string_view digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 2 || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value <= max ? value : -1;
}

} // namespace

std::optional<int> parseVirtualKey(std::string_view name) {
    const std::string key = upperAscii(name);
    if (key.size() == 1 && ((key[0] >= 'A' && key[0] <= 'Z') || (key[0] >= '0' && key[0] <= '9')))
        return key[0];
    if (key.size() > 2 && key.substr(0, 2) == "0X") {
        int code = 0;
        const auto [end, error] = std::from_chars(key.data() + 2, key.data() + key.size(), code, 16);
        if (error != std::errc() || end != key.data() + key.size() || code < 0x01 || code > 0xFE)
            return std::nullopt;
        return code;
    }
    if (const int f = numberAfter(key, "F", 24); f >= 1)
        return kFirstFunctionKey + f - 1;
    if (const int n = numberAfter(key, "NUMPAD", 9); n >= 0)
        return kFirstNumpadKey + n;
    for (const NamedKey& named : kNamedKeys)
        if (named.name == key)
            return named.code;
    return std::nullopt;
}
