#include "converter/TextLine.h"

#include <charconv>
#include <cmath>

namespace {
// Room for any double in fixed notation with the precisions used: 309 digits before the point.
constexpr std::size_t kNumberRoom = 400;
} // namespace

void TextLine::padded(std::string_view digits, int width, char pad) {
    const auto size = static_cast<int>(digits.size());
    if (size < width) {
        if (pad == '0' && !digits.empty() && digits[0] == '-') {
            text_.push_back('-');
            text_.append(static_cast<std::size_t>(width - size), '0');
            text_.append(digits.substr(1));
            return;
        }
        text_.append(static_cast<std::size_t>(width - size), pad);
    }
    text_.append(digits);
}

void TextLine::fixed(double value, int width, int precision) {
    char digits[kNumberRoom];
    if (!std::isfinite(value)) {
        // printf's spelling of the values no fixed notation has.
        padded(std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : (value < 0 ? "-inf" : "inf"), width,
               ' ');
        return;
    }
    const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
    padded(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width, ' ');
}

void TextLine::integer(int64_t value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    padded(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width, ' ');
}

void TextLine::zeroPadded(int64_t value, int width) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    padded(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)), width, '0');
}

bool TextLine::writeTo(std::FILE* file) const {
    return std::fwrite(text_.data(), 1, text_.size(), file) == text_.size();
}
