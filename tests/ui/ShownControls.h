#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "winsys/HeadlessScript.h"

// A control of a dialog as the transcript shows it when the dialog was initialised or ended (the
// last time, when the dialog was shown more than once).
inline win::ControlSnapshot shownControl(uint16_t templateId, win::DialogEntry::What when, int id) {
    win::ControlSnapshot found;
    bool seen = false;
    for (const win::DialogEntry& entry : win::headless::transcript().all<win::DialogEntry>())
        if (entry.templateId == templateId && entry.what == when)
            for (const win::ControlSnapshot& control : entry.controls)
                if (control.id == id) {
                    found = control;
                    seen = true;
                }
    if (!seen)
        ADD_FAILURE() << "dialog " << templateId << " showed no control " << id;
    return found;
}

// The dialog's title when it was initialised.
inline std::string shownTitle(uint16_t templateId) {
    for (const win::DialogEntry& entry : win::headless::transcript().all<win::DialogEntry>())
        if (entry.templateId == templateId && entry.what == win::DialogEntry::Initialised)
            return entry.title;
    ADD_FAILURE() << "dialog " << templateId << " was not shown";
    return {};
}
