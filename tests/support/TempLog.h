#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/Log.h"
#include "support/TempDir.h"

// The log is process-wide: a test of this fixture finds it closed, with the default mask, in a
// folder of its own, and leaves it closed with the folder and mask it was given.
class TempLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = std::filesystem::path(Log::filePath()).parent_path().string();
        savedFlags_ = Log::logFlags();
        Log::closeLog();
        Log::setLogFlags(Log::kDefaultFlags);
        Log::setFolder(logDir.path().string());
    }
    void TearDown() override {
        Log::closeLog();
        Log::setFolder(savedFolder_);
        Log::setLogFlags(savedFlags_);
    }

    std::string logPath() const { return logDir.file("Zephrel.log"); }
    // What is on disk now, without closing the log.
    std::string logText() const { return readText(logPath()); }

    static std::size_t occurrences(const std::string& text, const std::string& needle) {
        std::size_t n = 0;
        for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
            ++n;
        return n;
    }

    TempDir logDir;

private:
    std::string savedFolder_;
    uint32_t savedFlags_ = Log::kDefaultFlags;
};
