#include "app/RecordingName.h"

#include <cstdio>
#include <filesystem>

std::string automaticRecordingName(const std::string& flightsFolder, const win::SYSTEMTIME& localTime) {
    // Each field is a WORD: the widest text is five digits, so the buffer cannot overflow.
    char name[64];
    std::snprintf(name, sizeof name, "Zephrel_%04d-%02d-%02d_%02d-%02d-%02d_%04d.zfl", localTime.wYear,
                  localTime.wMonth, localTime.wDay, localTime.wHour, localTime.wMinute, localTime.wSecond,
                  localTime.wMilliseconds);
    return (std::filesystem::path(flightsFolder) / name).string();
}

std::string recordingTitle(const std::string& fileName) {
    return std::filesystem::path(fileName).stem().string();
}
