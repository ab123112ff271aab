#pragma once

#include "winsys/Transcript.h"
#include "winsys/model/WindowObject.h"

// Entries the model adds to the transcript.
namespace win::model {

// Windows other than standard controls.
void recordWindow(WindowEntry::What what, const WindowObject& window);
void recordDialog(DialogEntry::What what, HWND dialog);

} // namespace win::model
