#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

// The lines of a Tacview ACMI text as its reader sees them: a line that ends in an unescaped
// backslash goes on in the next one (the two joined by the backslash and the line end, which the
// field splitting turns into a line end in the value), a CR before the line end and the UTF-8
// byte-order mark at the start are dropped. Each line is known by the number of its first line in
// the file and by where it begins, so that a reader can come back to it.
class AcmiLines {
public:
    // Longer lines, joined or not, are refused: no exporter writes them, and they bound the memory.
    static constexpr std::size_t kLongestLine = 64 * 1024;

    // Reads from where `in` stands; `file` names it in errors. Throws TrackError for an input that
    // cannot be gone back in.
    AcmiLines(std::istream& in, std::string file);

    // The next line; false at the end of the input. Throws TrackError for an overlong line.
    bool next();
    const std::string& text() const { return text_; }
    uint64_t number() const { return number_; }
    std::streamoff start() const { return start_; }

    // Goes back (or on) to the line that begins at `start` with number `number`, for next() to read.
    void seek(std::streamoff start, uint64_t number);

private:
    // Appends the next line of the file to text_; false at the end of the input.
    bool readPart();

    std::istream& in_;
    std::string file_;
    std::vector<char> buffer_;
    std::string text_;
    std::streamoff origin_ = 0;   // where the input began
    std::streamoff position_ = 0; // what has been read
    std::streamoff start_ = 0;
    uint64_t number_ = 0;
    uint64_t linesRead_ = 0;
};

// The comma-separated fields of an ACMI line, each with its escapes resolved: a backslash makes the
// character after it literal, so "\," is a comma inside a value and "\\" a backslash. `fields` is
// reused from call to call.
void splitAcmiFields(std::string_view line, std::vector<std::string>& fields);
