#pragma once

#include <cstdint>

class HostMenus;
class Simulator;

// The simulator's own menus in a new menu bar: Flights, Aircraft, Views and Autopilot, whose
// commands are below the numbers add-ons use (53566 on). Their commands only reach the main
// window's procedure.
void buildSimulatorMenus(HostMenus& menus);

// What the main window does with one of those commands: the Autopilot menu's items order the user
// aircraft's manoeuvres (and so take it back from a person flying by hand). False for a command
// the simulator does nothing with.
bool applySimulatorCommand(Simulator& simulator, uint32_t command);
