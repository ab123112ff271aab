#include "host/HostState.h"

HostState& hostState() {
    static HostState state;
    return state;
}
