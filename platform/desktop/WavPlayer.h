#pragma once

#include <cstdint>
#include <string>

// Plays one .wav file at a time on the sound card through SDL, without waiting for it: a new sound
// stops the one playing, as the original's asynchronous sounds do.
namespace desktop {

class WavPlayer {
public:
    WavPlayer() = default;
    WavPlayer(const WavPlayer&) = delete;
    WavPlayer& operator=(const WavPlayer&) = delete;
    ~WavPlayer();

    // False when the file is no readable .wav or no sound device can be opened.
    bool play(const std::string& file);
    void stop();

private:
    uint32_t device_ = 0;
    bool audioStarted_ = false;
};

} // namespace desktop
