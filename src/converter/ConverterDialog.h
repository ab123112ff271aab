#pragma once

#include <cstdint>

#include "winsys/WinSys.h"

// The converter's window: one button per direction and the "Altitude in Meters" option. Each
// button asks for the input and the output file and converts; the dialog stays open until closed.
namespace ConverterDialog {

constexpr uint16_t kTemplateId = 101;
constexpr int kToTextButton = 1003;
constexpr int kToRecordingButton = 1004;
constexpr int kMetresCheckBox = 1000;

// The program's own resources, to the window system.
win::HINSTANCE instance();
win::DialogTemplate dialogTemplate();

// Runs the dialog until it is closed.
void show();

} // namespace ConverterDialog
