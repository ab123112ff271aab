#include "installer/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "installer/XmlError.h"
#include "text/AsciiCase.h"
#include "text/Utf8.h"

namespace {

// The characters of Windows-1252 from 0x80 to 0x9F. Its five unassigned bytes stand for the C1
// controls of the same number, as Windows reads them, so that every byte reads and writes back.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// The value of encoding="..." in the declaration at the start of the text; empty when there is none.
std::string_view declaredEncoding(std::string_view text) {
    if (!startsWith(text, "<?xml") || text.size() < 6 ||
        (text[5] != ' ' && text[5] != '\t' && text[5] != '\r' && text[5] != '\n'))
        return {};
    const std::string_view declaration = text.substr(0, text.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return {};
    at = declaration.find_first_not_of(" \t\r\n", at + 8);
    if (at == std::string_view::npos || declaration[at] != '=')
        return {};
    at = declaration.find_first_not_of(" \t\r\n", at + 1);
    if (at == std::string_view::npos || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const std::size_t end = declaration.find(declaration[at], at + 1);
    return end == std::string_view::npos ? std::string_view() : declaration.substr(at + 1, end - at - 1);
}

// The byte of the character in a single-byte encoding, or -1 when it has none.
int singleByte(char32_t c, TextEncoding encoding) {
    if (c < 0x80)
        return static_cast<int>(c);
    if (encoding == TextEncoding::Latin1)
        return c < 0x100 ? static_cast<int>(c) : -1;
    if (encoding == TextEncoding::Windows1252) {
        if (c >= 0xA0 && c < 0x100)
            return static_cast<int>(c);
        const auto found = std::find(kWindows1252High.begin(), kWindows1252High.end(), c);
        if (found != kWindows1252High.end())
            return 0x80 + static_cast<int>(found - kWindows1252High.begin());
    }
    return -1;
}

} // namespace

TextEncoding detectEncoding(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return TextEncoding::Utf8;
    if (startsWith(bytes, "\xFE\xFF") || startsWith(bytes, "\xFF\xFE") ||
        startsWith(bytes, std::string_view("\0\0", 2)) || startsWith(bytes, std::string_view("\0<", 2)) ||
        startsWith(bytes, std::string_view("<\0", 2)))
        throw XmlError("the file is in UTF-16 or UTF-32, which cannot be written back");
    const std::string_view name = declaredEncoding(bytes);
    if (name.empty() || equalsIgnoringCase(name, "UTF-8") || equalsIgnoringCase(name, "UTF8"))
        return TextEncoding::Utf8;
    if (equalsIgnoringCase(name, "windows-1252") || equalsIgnoringCase(name, "cp1252"))
        return TextEncoding::Windows1252;
    if (equalsIgnoringCase(name, "ISO-8859-1") || equalsIgnoringCase(name, "ISO_8859-1") || equalsIgnoringCase(name, "latin1"))
        return TextEncoding::Latin1;
    if (equalsIgnoringCase(name, "US-ASCII") || equalsIgnoringCase(name, "ASCII"))
        return TextEncoding::Ascii;
    throw XmlError("the file's encoding " + std::string(name) + " cannot be written back");
}

std::string decodeText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<uint8_t>(byte);
        if (b >= 0x80 && encoding == TextEncoding::Ascii)
            throw XmlError("the file says US-ASCII but holds the byte " + std::to_string(b));
        appendUtf8(text, b >= 0x80 && b < 0xA0 && encoding == TextEncoding::Windows1252
                             ? kWindows1252High[b - 0x80]
                             : b);
    }
    return text;
}

std::string encodeText(std::string_view utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return std::string(utf8);
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> point = nextUtf8(utf8, at);
        if (!point)
            throw XmlError("the text is not UTF-8");
        const char32_t c = *point;
        const int byte = singleByte(c, encoding);
        if (byte >= 0)
            bytes += static_cast<char>(byte);
        else
            bytes += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
    return bytes;
}
