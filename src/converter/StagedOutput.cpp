#include "converter/StagedOutput.h"

#include <cstdio>

#include "converter/ConversionError.h"

StagedOutput::StagedOutput(std::string path) : path_(std::move(path)), stagingPath_(path_ + ".part") {}

StagedOutput::~StagedOutput() {
    if (!committed_)
        std::remove(stagingPath_.c_str());
}

void StagedOutput::commit() {
    if (std::rename(stagingPath_.c_str(), path_.c_str()) != 0)
        throw ConversionError{cannotOpenMessage(path_)};
    committed_ = true;
}

std::string cannotOpenMessage(const std::string& path) { return "File " + path + " could not be opened!"; }
