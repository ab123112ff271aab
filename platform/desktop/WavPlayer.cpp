#include "desktop/WavPlayer.h"

#include <SDL.h>

namespace desktop {

WavPlayer::~WavPlayer() {
    stop();
    if (audioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool WavPlayer::play(const std::string& file) {
    stop();
    if (!audioStarted_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return false;
        audioStarted_ = true;
    }
    SDL_AudioSpec format; // SDL's type: the file's sample format
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(file.c_str(), &format, &samples, &length) == nullptr)
        return false;
    // The device takes the file's own format, so nothing is converted here.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &format, nullptr, 0);
    const bool queued = device_ != 0 && SDL_QueueAudio(device_, samples, length) == 0;
    SDL_FreeWAV(samples);
    if (!queued) {
        stop();
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void WavPlayer::stop() {
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
}

} // namespace desktop
