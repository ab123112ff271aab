#include "converter/ProgramArguments.h"

#include "text/AsciiCase.h"

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (true) {
        while (pos < commandLine.size() && commandLine[pos] == ' ')
            ++pos;
        if (pos >= commandLine.size())
            break;
        std::string word;
        bool quoted = false;
        for (; pos < commandLine.size() && (quoted || commandLine[pos] != ' '); ++pos) {
            if (commandLine[pos] == '"')
                quoted = !quoted;
            else
                word.push_back(commandLine[pos]);
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool isRecordingPath(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    return equalsIgnoringCase(path.substr(dot + 1), "zfl");
}
