#pragma once

// The texts the module has the host draw (FSinterface's status text and view captions).
namespace HostTexts {

// Shutdown: the host's text resources of the status text and of every view caption are freed
// and the texts forgotten.
void freeAll();

} // namespace HostTexts
