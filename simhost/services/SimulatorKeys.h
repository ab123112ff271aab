#pragma once

class Simulator;

// The simulator's own keys, as its main window receives them going down (and up): P pauses and
// resumes, Ctrl+E has the autopilot start the engines, G moves the gear handle, F5 to F8 retract
// the flaps, raise them a notch, lower them a notch and extend them fully; the view commands' keys
// (docs/simhost/views.md) move the active view's camera. The keys that fly by hand (docs/simhost/desktop.md) take the user aircraft from
// its autopilot. False for a key the simulator has no use for.
bool applySimulatorKey(Simulator& simulator, int virtualKey, bool down);
