#pragma once

// The window system as the module, the converter and the installer use it.
#include "winsys/CommonControls.h"
#include "winsys/CommonDialogs.h"
#include "winsys/Controls.h"
#include "winsys/Dialogs.h"
#include "winsys/Input.h"
#include "winsys/LocalTime.h"
#include "winsys/Menus.h"
#include "winsys/Messages.h"
#include "winsys/Pixels.h"
#include "winsys/Types.h"
#include "winsys/WindowApi.h"
