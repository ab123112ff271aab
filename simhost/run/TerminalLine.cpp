#include "run/TerminalLine.h"

#include <unistd.h>

#include <cstdio>

TerminalLine::TerminalLine() : shown_(isatty(STDERR_FILENO) != 0) {}

bool TerminalLine::due() {
    const auto now = std::chrono::steady_clock::now();
    if (!shown_ || now - last_ < std::chrono::milliseconds(100))
        return false;
    last_ = now;
    return true;
}

void TerminalLine::show(const std::string& text) {
    std::fprintf(stderr, "\r%s\033[K", text.c_str());
    std::fflush(stderr);
}

void TerminalLine::clear() {
    if (shown_)
        std::fputs("\r\033[K", stderr);
}
