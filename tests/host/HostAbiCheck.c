/* The host interface is plain C, and the records exchanged by address have the layouts both
 * sides rely on: compiling this file is the check. */
#include <stddef.h>

#include "host/hostabi.h"

_Static_assert(sizeof(ZHostPosition) == 36, "position and attitude block");
_Static_assert(offsetof(ZHostPosition, pitch) == 24, "attitude after the three positions");
_Static_assert(sizeof(ZHostSimGroup) == 36, "simulation group table entry");
_Static_assert(offsetof(ZHostSimGroup, fields) == 8, "group fields after the name, clocks at bytes 20 and 28");
_Static_assert(sizeof(ZHostTrafficSettings) == 32, "traffic record");
_Static_assert(sizeof(ZHostDateTime) == 12, "date-and-time record");
_Static_assert(offsetof(ZHostSimState, paused) == 1, "paused word right after the pause request byte");

/* A host's lookup function has the type the add-on expects. */
static const ZHostModule* noModule(const char* name) {
    (void)name;
    return NULL;
}
ZHostGetModuleFn hostAbiCheckLookup = noModule;
