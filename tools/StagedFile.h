#pragma once

#include <string>

// An output written under a temporary name beside it ("<path>.part"): it takes its own name only
// when whole, so a failure leaves neither half a file nor a damaged old one.
class StagedFile {
public:
    explicit StagedFile(std::string path) : path_(std::move(path)), partPath_(path_ + ".part") {}
    // Removes the temporary file unless it was committed.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::string& partPath() const { return partPath_; }
    // Gives the finished file its name; std::runtime_error naming the file where it cannot.
    void commit();

private:
    std::string path_;
    std::string partPath_;
    bool committed_ = false;
};
