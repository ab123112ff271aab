#include "services/SimulatorMenus.h"

#include <algorithm>
#include <iterator>

#include "services/HostMenus.h"
#include "services/Simulator.h"

namespace {

struct AutopilotItem {
    const char* text;
    uint32_t command;
    ManoeuvreOrder::Kind manoeuvre;
};

constexpr AutopilotItem kAutopilotItems[] = {
    {"Start Engines", 40401, ManoeuvreOrder::StartEngines},
    {"Take Off", 40402, ManoeuvreOrder::TakeOff},
    {"Fly a Circuit", 40403, ManoeuvreOrder::Circuit},
    {"Land", 40404, ManoeuvreOrder::Land},
    {"Park", 40405, ManoeuvreOrder::Park},
    {"Shut Down", 40406, ManoeuvreOrder::ShutDown},
};

} // namespace

void buildSimulatorMenus(HostMenus& menus) {
    menus.newBar();
    const uintptr_t bar = menus.bar();

    const uintptr_t flights = menus.addMenu(bar, "Flights");
    menus.addItem(flights, "Load Flight...", 40101);
    menus.addItem(flights, "Save Flight...", 40102);
    menus.addSeparator(flights);
    menus.addItem(flights, "Reset Flight", 40103);

    const uintptr_t aircraft = menus.addMenu(bar, "Aircraft");
    menus.addItem(aircraft, "Select Aircraft...", 40201);
    menus.addItem(aircraft, "Fuel and Payload...", 40202);

    const uintptr_t views = menus.addMenu(bar, "Views");
    menus.addItem(views, "Full Screen", 40301);
    menus.addSeparator(views);
    const uintptr_t mode = menus.addMenu(views, "View Mode");
    menus.addItem(mode, "Cockpit", 40311);
    menus.addItem(mode, "Virtual Cockpit", 40312);
    menus.addItem(mode, "Spot", 40313);

    const uintptr_t autopilot = menus.addMenu(bar, "Autopilot");
    for (const AutopilotItem& item : kAutopilotItems)
        menus.addItem(autopilot, item.text, item.command);
}

bool applySimulatorCommand(Simulator& simulator, uint32_t command) {
    const auto item = std::find_if(std::begin(kAutopilotItems), std::end(kAutopilotItems),
                                   [&](const AutopilotItem& i) { return i.command == command; });
    Aircraft* user = simulator.world().user();
    if (item == std::end(kAutopilotItems) || user == nullptr)
        return false;
    ManoeuvreOrder order;
    order.kind = item->manoeuvre;
    user->fly(order);
    return true;
}
