#include "converter/ZflConverter.h"

#include "converter/ConversionError.h"
#include "converter/ConverterDialog.h"
#include "converter/FileFailure.h"
#include "converter/ProgramArguments.h"
#include "converter/TextExport.h"
#include "converter/TextImport.h"

namespace ZflConverter {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

void showError(win::HWND owner, const std::string& text) {
    win::MessageBox(owner, text, kCaption, win::MB_OK | win::MB_ICONERROR);
}

// The conversion succeeded; what the text held that it could not use is still worth knowing.
void showSkipped(win::HWND owner, const SkippedLines& skipped) {
    if (skipped.count() != 0)
        win::MessageBox(owner, skipped.summary(), kCaption, win::MB_OK | win::MB_ICONWARNING);
}

} // namespace

Direction directionFor(const std::string& input) {
    return isRecordingPath(input) ? Direction::ToText : Direction::ToRecording;
}

bool convert(Direction direction, const std::string& input, const std::string& output, bool altitudeInMeters,
             win::HWND owner) {
    SkippedLines skipped;
    try {
        if (direction == Direction::ToText)
            exportText(input, output, altitudeInMeters);
        else
            skipped = importText(input, output, altitudeInMeters);
    } catch (const ConversionError& error) {
        showError(owner, error.message);
        return false;
    } catch (const ZephrelException& error) {
        showError(owner, failureMessage(error));
        return false;
    } catch (...) {
        showError(owner, kUnexpectedMessage);
        return false;
    }
    showSkipped(owner, skipped);
    return true;
}

int run(const std::vector<std::string>& words) {
    switch (words.size()) {
    case 0:
    case 1:
        ConverterDialog::show();
        return kSuccess;
    case 3:
        return convert(directionFor(words[1]), words[1], words[2], false, nullptr) ? kSuccess : kFailure;
    case 4:
        if (words[3] != "-m") {
            showError(nullptr, "Invalid command line argument!");
            return kFailure;
        }
        return convert(directionFor(words[1]), words[1], words[2], true, nullptr) ? kSuccess : kFailure;
    default:
        showError(nullptr, "Invalid command line arguments!");
        return kFailure;
    }
}

int run(std::string_view commandLine) { return run(splitCommandLine(commandLine)); }

} // namespace ZflConverter
