#include "app/StatusLine.h"
#include "common/Ticks.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {


// Whole seconds from `from` to `to`; none when the clock is not past `from`.
int seconds(uint32_t to, uint32_t from) {
    return to > from ? static_cast<int>((to - from) / kTicksPerSecond) : 0;
}

// Long enough for the longest line with ten-digit counts.
constexpr int kBufferSize = 128;

// Appends to the `used` characters in `buffer` (kBufferSize long); the new length, cut where the
// buffer ends.
__attribute__((format(printf, 3, 4))) int append(char* buffer, int used, const char* pattern, ...) {
    va_list values;
    va_start(values, pattern);
    const int written =
        std::vsnprintf(buffer + used, static_cast<std::size_t>(kBufferSize - used), pattern, values);
    va_end(values);
    return written < 0 ? used : std::min(used + written, kBufferSize - 1);
}

} // namespace

void StatusLine::recording(std::string& text, uint32_t now, uint32_t start) {
    char buffer[kBufferSize];
    const int length = append(buffer, 0, "RECORDING [%d seconds]", seconds(now, start));
    text.assign(buffer, static_cast<std::size_t>(length));
}

void StatusLine::playback(std::string& text, Playback kind, uint32_t now, uint32_t begin, uint32_t end,
                          bool loop, float speed) {
    const int played = seconds(now, begin);
    const int length = seconds(end, begin);
    char buffer[kBufferSize];
    int used = 0;
    switch (kind) {
    case Playback::InstantReplay:
        used = append(buffer, used, "INSTANT REPLAY [%d seconds]", seconds(end, now));
        break;
    case Playback::User:
        used = append(buffer, used, "PLAYBACK [%d / %d seconds]", played, length);
        break;
    case Playback::TrafficWhileRecording:
        used = append(buffer, used, "RECORDING + TRAFFIC PLAYBACK [%d / %d seconds]", played, length);
        break;
    case Playback::Traffic:
        used = append(buffer, used, "TRAFFIC PLAYBACK [%d / %d seconds]", played, length);
        break;
    }
    if (loop)
        used = append(buffer, used, "%s", " (loop)");
    if (speed != 1.0f && kind != Playback::TrafficWhileRecording)
        used = append(buffer, used, " (speed %d%%)", static_cast<int>(speed * 100));
    text.assign(buffer, static_cast<std::size_t>(used));
}
