#include "ModuleResources.h"

#include "AboutDlg.h"
#include "KeyboardDlg.h"

namespace {
// Its address identifies the module to the window system.
const char moduleIdentity = 0;
} // namespace

win::HINSTANCE ModuleResources::instance() { return &moduleIdentity; }

void ModuleResources::registerDialogs() {
    win::RegisterDialogTemplate(instance(), AboutDlg::dialogTemplate());
    win::RegisterDialogTemplate(instance(), KeyboardDlg::dialogTemplate());
}
