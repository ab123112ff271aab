#pragma once

struct HostViewEntry;

// The texts the module has the host draw (FSinterface's status text and view captions).
namespace HostTexts {

// A view that went away: the host's text resource of its caption is freed.
void freeCaption(HostViewEntry& view);

// Shutdown: the host's text resources of the status text and of every view caption are freed
// and the texts forgotten.
void freeAll();

} // namespace HostTexts
