#include "converter/TextCommands.h"

#include <string>

#include "common/Ticks.h"
#include "converter/ConversionError.h"
#include "converter/TextScanner.h"

namespace {

constexpr std::size_t kMaxText = 255;
// The largest display time the six flag bits hold.
constexpr uint64_t kMaxDisplaySeconds = 63;

[[noreturn]] void invalid(const char* what, std::string_view line) {
    throw ConversionError{std::string(what) + std::string(line)};
}

// A marker time: seconds, not negative, in ticks by truncation. The truncation works on the
// decimal digits as written: through a double, "0.0003" would become 2.999... and lose a unit, and
// an exported time would not read back as itself.
bool markerTime(TextScanner& scanner, uint32_t& time) {
    double seconds = 0;
    std::string_view text;
    if (!scanner.decimal(seconds, &text) || seconds < 0 || seconds * kTicksPerSecond > 4294967295.0)
        return false;
    uint64_t units = 0;
    int decimals = -1; // digits after the point so far; -1 before it
    for (char c : text) {
        if (c == '.')
            decimals = 0;
        else if (c >= '0' && c <= '9' && decimals < 4) {
            units = units * 10 + static_cast<uint64_t>(c - '0');
            if (decimals >= 0)
                ++decimals;
        }
    }
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d)
        units *= 10;
    time = static_cast<uint32_t>(units);
    return true;
}

void optionalChapter(TextScanner& scanner, Marker& marker) {
    if (scanner.keyword("chapter"))
        marker.flags |= Marker::kChapter;
}

bool readOffset(TextScanner& scanner, ImportEncoding::Offset& offset) {
    if (!scanner.decimal(offset.x) || !scanner.decimal(offset.y) || !scanner.decimal(offset.z))
        return false;
    if (scanner.atEnd())
        return true;
    std::string_view letters;
    if (!scanner.word(letters, 1, 3))
        return false;
    for (char c : letters) {
        switch (c) {
        case 'H':
        case 'h':
            offset.useHeading = true;
            break;
        case 'P':
        case 'p':
            offset.usePitch = true;
            break;
        case 'B':
        case 'b':
            offset.useBank = true;
            break;
        default:
            return false;
        }
    }
    return scanner.atEnd();
}

bool readPlaySound(TextScanner& scanner, Marker& marker) {
    marker.type = Marker::PlaySound;
    if (!markerTime(scanner, marker.time))
        return false;
    if (scanner.keyword("inside"))
        marker.flags = 1;
    else if (scanner.keyword("outside"))
        marker.flags = 2;
    else if (scanner.keyword("always"))
        marker.flags = 3;
    else if (scanner.keyword("never"))
        marker.flags = 0;
    else
        return false;
    if (!scanner.quoted(marker.text, 1, kMaxText))
        return false;
    optionalChapter(scanner, marker);
    return true;
}

bool readDisplayText(TextScanner& scanner, Marker& marker) {
    marker.type = Marker::DisplayText;
    uint64_t seconds = 0;
    if (!markerTime(scanner, marker.time) || !scanner.unsignedInteger(seconds) || seconds > kMaxDisplaySeconds)
        return false;
    marker.flags = static_cast<uint32_t>(seconds);
    if (scanner.keyword("scroll"))
        marker.flags |= 0x40;
    else if (!scanner.keyword("static"))
        return false;
    if (!scanner.quoted(marker.text, 0, kMaxText))
        return false;
    optionalChapter(scanner, marker);
    return true;
}

} // namespace

TextCommand readTextCommand(std::string_view line) {
    TextScanner scanner(line);
    TextCommand command;
    Marker& marker = command.marker;
    if (scanner.keyword("$Offset:")) {
        command.kind = TextCommand::Offset;
        if (!readOffset(scanner, command.offset))
            invalid("Invalid offset entry: ", line);
    } else if (scanner.keyword("$TimeOffset:")) {
        command.kind = TextCommand::TimeOffset;
        if (!scanner.decimal(command.seconds))
            invalid("Invalid time offset entry: ", line);
    } else if (scanner.keyword("$Interval:")) {
        command.kind = TextCommand::Interval;
        if (!scanner.decimal(command.seconds))
            invalid("Invalid interval entry: ", line);
    } else if (scanner.keyword("$Chapter:")) {
        command.kind = TextCommand::AddMarker;
        marker.type = Marker::None;
        marker.flags = Marker::kChapter;
        if (!markerTime(scanner, marker.time) || !scanner.quoted(marker.text, 0, kMaxText))
            invalid("Invalid chapter entry: ", line);
    } else if (scanner.keyword("$PlaySound:")) {
        command.kind = TextCommand::AddMarker;
        if (!readPlaySound(scanner, marker))
            invalid("Invalid play sound entry: ", line);
    } else if (scanner.keyword("$DisplayText:")) {
        command.kind = TextCommand::AddMarker;
        if (!readDisplayText(scanner, marker))
            invalid("Invalid display text entry: ", line);
    } else if (scanner.keyword("$Pause:")) {
        command.kind = TextCommand::AddMarker;
        marker.type = Marker::Pause;
        if (!markerTime(scanner, marker.time) || !scanner.quoted(marker.text, 0, kMaxText))
            invalid("Invalid pause entry: ", line);
        optionalChapter(scanner, marker);
    } else {
        invalid("Invalid entry: ", line);
    }
    return command;
}
