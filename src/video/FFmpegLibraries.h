#pragma once

// FFmpeg's libraries and theirs (OpenMP's thread pool among them) keep allocations and threads for
// the life of the process. The module that links them may be unloaded while the simulator runs on;
// so that they stay sound, they are kept loaded from the module's start to the end of the process.
void keepFFmpegLoaded();
