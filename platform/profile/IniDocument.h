#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The text of one INI file, read the way the original platform's profile functions read it, and
// edited in place: an edit splices only the bytes it must change, so comments, blank lines,
// spacing, line ends and unreadable junk elsewhere in the file stay exactly as they were.
//
// Names given to lookups and edits lose their surrounding spaces (spaces only, not tabs) and are
// compared with the file's names ignoring ASCII case. Only the first section of a name is read or
// edited; a deleted section is deleted wherever it appears. A NUL byte ends the readable text of
// its line, as it would end a C string; the bytes after it stay in the file all the same.
class IniDocument {
public:
    explicit IniDocument(std::string bytes = {});

    const std::string& bytes() const { return bytes_; }

    // Every section header in file order, duplicates included; empty names are left out because
    // they cannot be told apart from the end of a NUL-separated list.
    std::vector<std::string> sectionNames() const;
    // The key names of a section (empty names left out); nothing when the section is missing.
    std::vector<std::string> keyNames(std::string_view section) const;
    // The value with surrounding blanks and one pair of matching outer quotes removed; it points
    // into the document's text, so it lasts until the document is edited or goes.
    std::optional<std::string_view> value(std::string_view section, std::string_view key) const;

    // Replaces the first such key's value, or adds the key at the end of its section, or adds the
    // section at the end of the file. New lines use the file's own line end (CR LF in a new file).
    void setValue(std::string_view section, std::string_view key, std::string_view value);
    // These return false when there was nothing to delete.
    bool removeKey(std::string_view section, std::string_view key);
    // Drops each such section's header and lines, keeping its comment lines.
    bool removeSection(std::string_view section);

private:
    enum class Kind { Blank, Comment, Section, Key, Other };
    // Offsets into bytes_. name and value hold the trimmed section name or key name and value.
    struct Line {
        std::size_t begin, end, next; // text, end of text, start of the next line
        Kind kind;
        std::size_t nameBegin = 0, nameEnd = 0;
        std::size_t valueBegin = 0, valueEnd = 0;
        std::size_t equals = 0;
    };

    void parse();
    // The line's text is [begin, textEnd); end is where its line break (if any) starts.
    Line parseLine(std::size_t begin, std::size_t textEnd, std::size_t end, std::size_t next) const;
    std::string_view name(const Line& line) const;
    // Index of the first header of that name, or lines_.size().
    std::size_t findSection(std::string_view section) const;
    // One past the last line of the section whose header is at index header.
    std::size_t sectionEnd(std::size_t header) const;
    std::size_t findKey(std::size_t header, std::string_view key) const;
    std::string lineBreak() const;
    void removeLines(const std::vector<bool>& removed);

    std::string bytes_;
    std::vector<Line> lines_;
};

} // namespace profile
