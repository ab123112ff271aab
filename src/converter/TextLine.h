#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

// One line of the recording text, built field by field with the layouts of printf ("%9.4f",
// "%8d", "%03d") but without parsing a format per value. The buffer is kept from line to line,
// so writing a line allocates nothing once the first long line has been written.
class TextLine {
public:
    TextLine() { text_.reserve(1024); }

    void clear() { text_.clear(); }
    const std::string& text() const { return text_; }

    // "%<width>.<precision>f"
    void fixed(double value, int width, int precision);
    // "%<width>d"
    void integer(int64_t value, int width);
    // "%0<width>d"
    void zeroPadded(int64_t value, int width);
    void append(std::string_view text) { text_.append(text); }

    // Writes the line; false when the file refuses it.
    bool writeTo(std::FILE* file) const;

private:
    void padded(std::string_view digits, int width, char pad);

    std::string text_;
};
