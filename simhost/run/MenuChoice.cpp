#include "run/MenuChoice.h"

#include "services/HostMenus.h"
#include "services/Simulator.h"
#include "winsys/WindowApi.h"

std::optional<std::string> chooseMenuItem(Simulator& simulator, const std::string& path) {
    const std::vector<std::string> texts = HostMenus::pathTexts(path);
    const std::vector<const HostMenus::Item*> trail = simulator.menus().walk(texts);
    if (trail.size() < texts.size())
        return "no menu item \"" + path + "\"";
    std::string reached;
    for (std::size_t i = 0; i < trail.size(); ++i) {
        reached += (i == 0 ? "" : "/") + texts[i];
        if (!trail[i]->enabled)
            return "menu item \"" + reached + "\" is disabled";
    }
    const HostMenus::Item& item = *trail.back();
    if (item.submenu != 0)
        return "menu item \"" + path + "\" opens a menu";
    win::SendMessage(simulator.mainWindow(), win::WM_COMMAND,
                     win::MAKEWPARAM(static_cast<int>(item.command), 0), 0);
    return std::nullopt;
}
