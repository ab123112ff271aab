#pragma once

#include <cstdint>
#include <string>

// The status line's texts, from the clocks in 1/10000 s. Seconds are whole (integer division); a
// clock not yet past its starting point shows 0 rather than a negative or wrapped count.
namespace StatusLine {

// The two words the host takes with the status text, passed to it unchanged.
constexpr uint32_t kPlace = 0xFFFFFFFFu;
constexpr uint32_t kRecordingStyle = 0xC0C00000u;
constexpr uint32_t kPlaybackStyle = 0xC00000C0u;

enum class Playback { InstantReplay, User, TrafficWhileRecording, Traffic };

// Each writes its line into `text` and reuses its storage, so that the frame showing the line
// allocates nothing once the text has grown to it.

// "RECORDING [%d seconds]" since the recording's start.
void recording(std::string& text, uint32_t now, uint32_t start);

// The playback lines, with " (loop)" while the loop is on and " (speed %d%%)" at a speed other
// than 1 (not on the line of a recording beside a traffic playback). The instant replay counts
// the seconds left.
void playback(std::string& text, Playback kind, uint32_t now, uint32_t begin, uint32_t end, bool loop,
              float speed);

} // namespace StatusLine
