// zfl-info FILE...: shows what each recording holds.
// zfl-info --recover TEMPBASE OUTPUT.zfl: saves the temporary files of a recording that did not end.

#include <exception>
#include <iostream>
#include <string>

#include "common/Log.h"
#include "common/ZephrelException.h"
#include "tools/RecoverRecording.h"
#include "tools/ZflInfo.h"

namespace {

constexpr const char* kUsage = "usage: zfl-info FILE...\n"
                               "       zfl-info --recover TEMPBASE OUTPUT.zfl\n";

// Runs one file's work; a failure is told on stderr, naming the file, and gives 1.
template <typename Work> int reported(const std::string& file, Work&& work) {
    try {
        work();
        return 0;
    } catch (const ZephrelException& e) {
        std::cout.flush();
        std::cerr << "zfl-info: " << e.userText << "\n";
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "zfl-info: " << file << ": " << e.what() << "\n";
    } catch (...) {
        std::cerr << "zfl-info: " << file << ": unexpected failure\n";
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool recover = argc > 1 && std::string(argv[1]) == "--recover";
    if (argc < 2 || (recover && argc != 4)) {
        std::cerr << kUsage;
        return 2;
    }
    // An inspection tool leaves no log behind.
    Log::setLogFlags(0);
    if (recover)
        return reported(argv[2], [&] {
            const std::string saved = recoverRecording(argv[2], argv[3]);
            std::cout << "zfl-info: saved " << saved << " as " << argv[3] << "\n";
        });
    int status = 0;
    for (int i = 1; i < argc; ++i)
        status |= reported(argv[i], [&] { printRecordingInfo(std::cout, argv[i]); });
    return status;
}
