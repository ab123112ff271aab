// ZflConverter: recording files to text and back.
#include <cstdio>
#include <exception>

#include "converter/ZflConverter.h"
#include "winsys/Backend.h"
#ifdef ZEPHREL_DESKTOP
#include "desktop/DesktopBackend.h"
#endif

namespace {

// Without arguments the converter is its dialog: on the screen when there is one.
void showDialogsOnTheDesktop(int argc) {
#ifdef ZEPHREL_DESKTOP
    if (argc == 1 && desktop::openDisplay())
        win::SetBackend(desktop::makeDesktopBackend());
#else
    (void)argc;
#endif
}

} // namespace

int main(int argc, char** argv) {
    try {
        showDialogsOnTheDesktop(argc);
        const int status = ZflConverter::run(std::vector<std::string>(argv, argv + argc));
        win::SetBackend(nullptr);
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ZflConverter: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "ZflConverter: unexpected failure\n");
    }
    return 1;
}
