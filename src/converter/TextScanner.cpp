#include "converter/TextScanner.h"

#include <charconv>

#include "text/AsciiCase.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (!isDigit(c))
            return false;
    return true;
}

uint64_t wrappedValue(std::string_view digits) {
    uint64_t value = 0;
    for (char c : digits)
        value = value * 10 + static_cast<uint64_t>(c - '0');
    return value;
}

} // namespace

void TextScanner::skipBlanks() {
    while (pos_ < line_.size() && isBlank(line_[pos_]))
        ++pos_;
}

std::string_view TextScanner::token() const {
    std::size_t end = pos_;
    while (end < line_.size() && !isBlank(line_[end]))
        ++end;
    return line_.substr(pos_, end - pos_);
}

bool TextScanner::keyword(std::string_view word) {
    skipBlanks();
    if (!startsWithIgnoringCase(line_.substr(pos_), word))
        return false;
    pos_ += word.size();
    return true;
}

bool TextScanner::signedInteger(int64_t& value) {
    skipBlanks();
    const std::string_view text = token();
    std::string_view digits = text;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '+' || negative))
        digits.remove_prefix(1);
    if (!allDigits(digits))
        return false;
    const uint64_t magnitude = wrappedValue(digits);
    value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    pos_ += text.size();
    return true;
}

bool TextScanner::unsignedInteger(uint64_t& value) {
    skipBlanks();
    const std::string_view text = token();
    if (!allDigits(text))
        return false;
    value = wrappedValue(text);
    pos_ += text.size();
    return true;
}

bool TextScanner::decimal(double& value, std::string_view* read) {
    skipBlanks();
    const std::string_view text = token();
    std::string_view number = text;
    std::string_view digits = text;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        digits.remove_prefix(1);
        if (text[0] == '+')
            number.remove_prefix(1); // from_chars takes a minus sign only
    }
    std::size_t digitCount = 0;
    std::size_t points = 0;
    for (char c : digits) {
        if (isDigit(c))
            ++digitCount;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    if (digitCount == 0 || points > 1)
        return false;
    double parsed = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error != std::errc() || end != number.data() + number.size())
        return false;
    value = parsed;
    if (read != nullptr)
        *read = text;
    pos_ += text.size();
    return true;
}

bool TextScanner::quoted(std::string& text, std::size_t minLength, std::size_t maxLength) {
    skipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"')
        return false;
    const std::size_t close = line_.find('"', pos_ + 1);
    if (close == std::string_view::npos)
        return false;
    const std::string_view inside = line_.substr(pos_ + 1, close - pos_ - 1);
    if (inside.find_first_of("\r\n") != std::string_view::npos || inside.size() < minLength ||
        inside.size() > maxLength)
        return false;
    text.assign(inside);
    pos_ = close + 1;
    return true;
}

bool TextScanner::word(std::string_view& text, std::size_t minLength, std::size_t maxLength) {
    skipBlanks();
    const std::string_view found = token();
    if (found.size() < minLength || found.size() > maxLength)
        return false;
    text = found;
    pos_ += found.size();
    return true;
}

bool TextScanner::atEnd() {
    skipBlanks();
    return pos_ == line_.size();
}

std::string_view TextScanner::nextWord() {
    skipBlanks();
    return token();
}
