#include "tools/StagedFile.h"

#include <filesystem>
#include <stdexcept>

StagedFile::~StagedFile() {
    if (!committed_) {
        std::error_code ignored;
        std::filesystem::remove(partPath_, ignored);
    }
}

void StagedFile::commit() {
    std::error_code error;
    std::filesystem::rename(partPath_, path_, error);
    if (error)
        throw std::runtime_error(path_ + " cannot be written: " + error.message());
    committed_ = true;
}
