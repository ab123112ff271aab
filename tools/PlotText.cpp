#include "tools/PlotText.h"

namespace {

// The length of the UTF-8 sequence at `at`, or 0 if it is not one cairo takes: well formed, not
// overlong, and a character (no surrogate, no non-character).
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length;
    char32_t code;
    char32_t smallest;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xe0) == 0xc0) {
        length = 2, code = lead & 0x1f, smallest = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, code = lead & 0x0f, smallest = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3f);
    }
    const bool character = code < 0x110000 && (code & 0xfffff800) != 0xd800 &&
                           (code < 0xfdd0 || code > 0xfdef) && (code & 0xfffe) != 0xfffe;
    return code >= smallest && character ? length : 0;
}

} // namespace

std::string drawableText(std::string_view text, std::size_t maxCharacters) {
    std::string drawable;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        if (characters == maxCharacters) {
            drawable += "...";
            break;
        }
        const std::size_t length = sequenceLength(text, at);
        const auto lead = static_cast<unsigned char>(text[at]);
        if (length == 0)
            drawable += '?';
        else if (lead < 0x20 || lead == 0x7f)
            drawable += ' ';
        else
            drawable.append(text.substr(at, length));
        at += length == 0 ? 1 : length;
    }
    return drawable;
}
