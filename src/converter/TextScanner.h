#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads one line of the recording text from left to right. Every reader first skips blanks (space
// and the characters 9..13); a reader that fails leaves the position where it was.
class TextScanner {
public:
    explicit TextScanner(std::string_view line) : line_(line) {}

    // The keyword's characters, ASCII letters in any case, directly after the blanks. There is no
    // word-boundary test: reading goes on right after the keyword.
    bool keyword(std::string_view word);

    // Optional sign, then decimal digits up to a blank or the end; the value wraps modulo 2^64.
    bool signedInteger(int64_t& value);
    // Decimal digits up to a blank or the end; the value wraps modulo 2^64.
    bool unsignedInteger(uint64_t& value);
    // Optional sign, digits with at most one ".", no exponent, up to a blank or the end; `text`,
    // when given, receives the characters read.
    bool decimal(double& value, std::string_view* text = nullptr);
    // A double quote, then the text up to the next double quote, of minLength..maxLength characters.
    bool quoted(std::string& text, std::size_t minLength, std::size_t maxLength);
    // Non-blank characters, minLength..maxLength of them.
    bool word(std::string_view& text, std::size_t minLength, std::size_t maxLength);

    // Whether only blanks are left.
    bool atEnd();
    // The next word, for error texts.
    std::string_view nextWord();
    // Everything after the position.
    std::string_view rest() const { return line_.substr(pos_); }

    static bool isBlank(char c) { return c == ' ' || (c >= 9 && c <= 13); }

private:
    void skipBlanks();
    // The characters from the position up to the next blank or the end.
    std::string_view token() const;

    std::string_view line_;
    std::size_t pos_ = 0;
};
