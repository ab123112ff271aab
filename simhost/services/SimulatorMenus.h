#pragma once

class HostMenus;

// The simulator's own menus in a new menu bar: Flights, Aircraft and Views, whose commands are
// below the numbers add-ons use (53566 on). Their commands only reach the main window's procedure.
void buildSimulatorMenus(HostMenus& menus);
