#include "MenuChoice.h"

std::optional<std::string> chooseMenuItem(Simulator&, const std::string& path) {
    return "no menu item \"" + path + "\"";
}
