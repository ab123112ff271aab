#include "tracks/CsvLine.h"

namespace {

// Spaces around a field; a tab too, except where it separates the fields.
bool isBlank(char c, char separator) {
    return c == ' ' || (c == '\t' && separator != '\t');
}

std::string_view trimmed(std::string_view text, char separator) {
    while (!text.empty() && isBlank(text.front(), separator))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back(), separator))
        text.remove_suffix(1);
    return text;
}

} // namespace

void splitCsvLine(std::string_view line, char separator, std::vector<std::string>& fields) {
    std::size_t count = 0;
    std::size_t at = 0;
    for (;;) {
        if (count == fields.size())
            fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        while (at < line.size() && isBlank(line[at], separator))
            ++at;
        if (at < line.size() && line[at] == '"') {
            for (++at; at < line.size(); ++at) {
                if (line[at] != '"') {
                    field.push_back(line[at]);
                } else if (at + 1 < line.size() && line[at + 1] == '"') {
                    field.push_back('"');
                    ++at;
                } else {
                    ++at;
                    break;
                }
            }
        }
        // Unquoted text, or what follows a closing quote, up to the separator.
        std::size_t end = line.find(separator, at);
        if (end == std::string_view::npos)
            end = line.size();
        field += trimmed(line.substr(at, end - at), separator);
        if (end == line.size())
            break;
        at = end + 1;
    }
    fields.resize(count);
}

char csvSeparator(std::string_view header) {
    std::size_t commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : header) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
        else if (!quoted && c == '\t')
            ++tabs;
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    return tabs > commas ? '\t' : ',';
}
