// zfl-info FILE...: shows what each recording holds.

#include <exception>
#include <iostream>

#include "common/Log.h"
#include "common/ZephrelException.h"
#include "tools/ZflInfo.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: zfl-info FILE...\n";
        return 2;
    }
    // An inspection tool leaves no log behind.
    Log::setLogFlags(0);
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        try {
            printRecordingInfo(std::cout, argv[i]);
        } catch (const ZephrelException& e) {
            std::cout.flush();
            std::cerr << "zfl-info: " << e.userText << "\n";
            status = 1;
        } catch (const std::exception& e) {
            std::cerr << "zfl-info: " << argv[i] << ": " << e.what() << "\n";
            status = 1;
        } catch (...) {
            std::cerr << "zfl-info: " << argv[i] << ": unexpected failure\n";
            status = 1;
        }
    }
    return status;
}
