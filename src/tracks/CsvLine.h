#pragma once

#include <string>
#include <string_view>
#include <vector>

// One line of a CSV file as its fields: separated by `separator`, each trimmed of the spaces
// around it; a field in double quotes may hold the separator, and "" stands for a quote in it.
// A record is one line: a quote left open runs to the line's end. `fields` is reused from line
// to line, so that reading a file keeps its memory.
void splitCsvLine(std::string_view line, char separator, std::vector<std::string>& fields);

// The separator a header line uses: a comma, a semicolon or a tab, whichever it holds most of
// outside quotes (a comma when it holds none).
char csvSeparator(std::string_view header);
