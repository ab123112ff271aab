// ZflConverter: recording files to text and back.
#include <cstdio>
#include <exception>

#include "converter/ZflConverter.h"

int main(int argc, char** argv) {
    try {
        return ZflConverter::run(std::vector<std::string>(argv, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ZflConverter: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "ZflConverter: unexpected failure\n");
    }
    return 1;
}
