#include "services/SimulatorMenus.h"

#include "services/HostMenus.h"

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
}
