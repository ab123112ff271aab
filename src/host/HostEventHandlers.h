#pragma once

#include <cstdint>

// The module's handlers of the host's frame, system and view-draw events, registered at start-up
// (host event number, then the event's two arguments). They do nothing once the module is
// stopping.
namespace HostEventHandlers {

// Host event 1: pending notifications, the frame time, the menu check, Frame (a = 0).
void frame(uint32_t event, uintptr_t a, uintptr_t b);
// Host event 35: the fixed step's ticks, Frame (a = 1), real-time pacing.
void afterFrame(uint32_t event, uintptr_t a, uintptr_t b);
// Host event 36: the fixed step's frame time and the frame start.
void fixedStep(uint32_t event, uintptr_t a, uintptr_t b);
// Host event 16: a = the system event code, b = its data.
void systemEvent(uint32_t event, uintptr_t code, uintptr_t data);
// Host event 18: a = the view being drawn.
void viewDraw(uint32_t event, uintptr_t view, uintptr_t b);
// Host event 1, second handler: the main view's text flags.
void textRefresh(uint32_t event, uintptr_t a, uintptr_t b);

// What textRefresh does, also run when the hide-texts switch changes.
void refreshTexts();

// Seconds of the high-resolution clock that paces the fixed step; nullptr puts the steady clock
// back. Tests give their own so that pacing does not depend on the machine.
using Clock = double (*)();
void setClock(Clock clock);

} // namespace HostEventHandlers
