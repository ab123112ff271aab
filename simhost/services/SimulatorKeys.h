#pragma once

class Simulator;

// The simulator's own keys, as its main window receives them: P pauses and resumes, G moves
// the gear handle, F5 to F8 retract the flaps, raise them a notch, lower them a notch and
// extend them fully; the view commands' keys (docs/simhost/views.md) move the active view's
// camera. False for a key the simulator has no use for.
bool applySimulatorKey(Simulator& simulator, int virtualKey);
