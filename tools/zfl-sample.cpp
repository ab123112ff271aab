// zfl-sample FILE: writes the demo recording.

#include <iostream>

#include "common/Log.h"
#include "common/ZephrelException.h"
#include "tools/SampleRecording.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zfl-sample FILE\n";
        return 2;
    }
    Log::setLogFlags(0);
    try {
        writeSampleRecording(argv[1]);
    } catch (const ZephrelException& e) {
        std::cerr << "zfl-sample: " << e.userText << "\n";
        return 1;
    } catch (...) {
        std::cerr << "zfl-sample: unexpected failure\n";
        return 1;
    }
    return 0;
}
