#include "video/FFmpegLibraries.h"

#include <dlfcn.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

// Marks the loaded library that holds `symbol` never to be unloaded; its own dependencies stay
// with it.
void keepLoaded(void* symbol) {
    Dl_info info{};
    if (dladdr(symbol, &info) != 0 && info.dli_fname != nullptr)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

} // namespace

void keepFFmpegLoaded() {
    keepLoaded(reinterpret_cast<void*>(&avformat_version));
    keepLoaded(reinterpret_cast<void*>(&avcodec_version));
    keepLoaded(reinterpret_cast<void*>(&swscale_version));
}
