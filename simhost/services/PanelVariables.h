#pragma once

#include <cstdint>
#include <string>

#include "host/hostabi.h"

class Aircraft;

// The panel function table the simulator stores into each add-on's "Panels" word: the user
// aircraft's named panel variables and its key events. Of named variables the simulator has the
// Level-D 767's light switches, each a bit of the aircraft's light mask, so that switches and
// mask always agree; they exist while the user aircraft is a Level-D 767.
class PanelVariables {
public:
    PanelVariables();
    PanelVariables(const PanelVariables&) = delete;
    PanelVariables& operator=(const PanelVariables&) = delete;

    const ZHostPanels* abi() const { return &table_; }

    static bool isLevelD767(const std::string& title);
    // The variable's id, -1 when the aircraft has no variable of that name.
    static int32_t lookup(const Aircraft* user, const char* name);
    // False when the aircraft has no variable of that id.
    static bool read(const Aircraft* user, int32_t id, double& value);
    static bool write(Aircraft* user, int32_t id, double value);

private:
    ZHostPanels table_{};
};
