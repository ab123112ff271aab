#include "profile/IniDocument.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "text/AsciiCase.h"

namespace profile {

namespace {

// The blanks the original ignores around names and values.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

// Callers' names lose spaces only; a tab in an argument is part of the name.
std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The first CR or LF from pos on, or the end of the text: one pass over the bytes, where
// find_first_of would search its set of two anew for each byte.
std::size_t lineBreakAt(std::string_view text, std::size_t pos) {
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    return static_cast<std::size_t>(std::find_if(text.begin() + pos, text.end(), isBreak) - text.begin());
}

} // namespace

IniDocument::IniDocument(std::string bytes) : bytes_(std::move(bytes)) {
    parse();
}

void IniDocument::parse() {
    lines_.clear();
    const std::string_view text(bytes_);
    std::size_t pos = 0;
    while (pos < text.size()) {
        // CR LF, LF and a lone CR all end a line.
        const std::size_t end = lineBreakAt(text, pos);
        std::size_t next = end + 1;
        if (end == text.size())
            next = end;
        else if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        const std::size_t nul = text.substr(pos, end - pos).find('\0');
        lines_.push_back(parseLine(pos, nul == std::string_view::npos ? end : pos + nul, end, next));
        pos = next;
    }
}

IniDocument::Line IniDocument::parseLine(std::size_t begin, std::size_t textEnd, std::size_t end,
                                         std::size_t next) const {
    const std::string_view text(bytes_);
    Line line{begin, end, next, Kind::Other};
    const auto trim = [&](std::size_t from, std::size_t to) {
        while (from < to && isBlank(text[from]))
            ++from;
        while (to > from && isBlank(text[to - 1]))
            --to;
        return std::pair{from, to};
    };
    const std::size_t start = trim(begin, textEnd).first;
    const std::string_view rest = text.substr(start, textEnd - start);
    if (rest.empty()) {
        line.kind = Kind::Blank;
    } else if (rest.front() == ';') {
        line.kind = Kind::Comment;
    } else if (rest.front() == '[') {
        // Whatever follows the first ']' is ignored; a '[' line without one is no header.
        const std::size_t close = rest.find(']');
        if (close != std::string_view::npos) {
            line.kind = Kind::Section;
            std::tie(line.nameBegin, line.nameEnd) = trim(start + 1, start + close);
        }
    } else if (const std::size_t equals = rest.find('='); equals != std::string_view::npos) {
        line.kind = Kind::Key;
        line.equals = start + equals;
        std::tie(line.nameBegin, line.nameEnd) = trim(start, line.equals);
        std::tie(line.valueBegin, line.valueEnd) = trim(line.equals + 1, textEnd);
    }
    return line;
}

std::string_view IniDocument::name(const Line& line) const {
    return std::string_view(bytes_).substr(line.nameBegin, line.nameEnd - line.nameBegin);
}

std::size_t IniDocument::findSection(std::string_view section) const {
    std::size_t i = 0;
    while (i < lines_.size() && !(lines_[i].kind == Kind::Section && equalsIgnoringCase(name(lines_[i]), section)))
        ++i;
    return i;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::size_t IniDocument::findKey(std::size_t header, std::string_view key) const {
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key && equalsIgnoringCase(name(lines_[i]), key))
            return i;
    return lines_.size();
}

std::vector<std::string> IniDocument::sectionNames() const {
    std::vector<std::string> names;
    for (const Line& line : lines_)
        if (line.kind == Kind::Section)
            if (!name(line).empty())
                names.emplace_back(name(line));
    return names;
}

std::vector<std::string> IniDocument::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    const std::size_t header = findSection(trimSpaces(section));
    if (header == lines_.size())
        return names;
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Key)
            if (!name(lines_[i]).empty())
                names.emplace_back(name(lines_[i]));
    return names;
}

std::optional<std::string_view> IniDocument::value(std::string_view section, std::string_view key) const {
    const std::size_t header = findSection(trimSpaces(section));
    if (header == lines_.size())
        return std::nullopt;
    const std::size_t index = findKey(header, trimSpaces(key));
    if (index == lines_.size())
        return std::nullopt;
    const Line& line = lines_[index];
    std::string_view text = std::string_view(bytes_).substr(line.valueBegin, line.valueEnd - line.valueBegin);
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return text;
}

std::string IniDocument::lineBreak() const {
    const std::size_t first = bytes_.find_first_of("\r\n");
    if (first == std::string::npos || bytes_.compare(first, 2, "\r\n") == 0)
        return "\r\n";
    return std::string(1, bytes_[first]);
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    section = trimSpaces(section);
    key = trimSpaces(key);
    const std::string eol = lineBreak();
    const std::size_t header = findSection(section);
    if (header == lines_.size()) {
        if (!bytes_.empty() && bytes_.back() != '\n' && bytes_.back() != '\r')
            bytes_ += eol;
        bytes_.append("[").append(section).append("]").append(eol);
        bytes_.append(key).append("=").append(value).append(eol);
    } else if (const std::size_t index = findKey(header, key); index != lines_.size()) {
        // The key's spelling and the spacing before the old value stay; all of the old value goes,
        // whatever a NUL hid of it.
        const Line& line = lines_[index];
        const std::size_t from = line.valueBegin < line.valueEnd ? line.valueBegin : line.equals + 1;
        bytes_.replace(from, line.end - from, value);
    } else {
        // After the section's last key (or its header), ahead of any comments or blank lines that
        // lead into the next section.
        std::size_t anchor = header;
        for (std::size_t i = header + 1, end = sectionEnd(header); i < end; ++i)
            if (lines_[i].kind == Kind::Key)
                anchor = i;
        const Line& line = lines_[anchor];
        std::string added = line.next == line.end ? eol : std::string();
        added.append(key).append("=").append(value).append(eol);
        bytes_.insert(line.next, added);
    }
    parse();
}

bool IniDocument::removeKey(std::string_view section, std::string_view key) {
    const std::size_t header = findSection(trimSpaces(section));
    if (header == lines_.size())
        return false;
    key = trimSpaces(key);
    std::vector<bool> removed(lines_.size());
    bool any = false;
    // Every copy in the section goes, or the next duplicate would surface in its place.
    for (std::size_t i = header + 1, end = sectionEnd(header); i < end; ++i)
        if (lines_[i].kind == Kind::Key && equalsIgnoringCase(name(lines_[i]), key))
            removed[i] = any = true;
    if (any)
        removeLines(removed);
    return any;
}

bool IniDocument::removeSection(std::string_view section) {
    section = trimSpaces(section);
    std::vector<bool> removed(lines_.size());
    bool any = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !equalsIgnoringCase(name(lines_[i]), section))
            continue;
        removed[i] = any = true;
        for (std::size_t j = i + 1, end = sectionEnd(i); j < end; ++j)
            removed[j] = lines_[j].kind != Kind::Comment;
    }
    if (any)
        removeLines(removed);
    return any;
}

void IniDocument::removeLines(const std::vector<bool>& removed) {
    std::string kept;
    kept.reserve(bytes_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (!removed[i])
            kept.append(bytes_, lines_[i].begin, lines_[i].next - lines_[i].begin);
    bytes_ = std::move(kept);
    parse();
}

} // namespace profile
