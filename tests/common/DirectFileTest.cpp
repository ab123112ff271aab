// A file written past the system's cache holds what any file would after the same writes, seeks
// and truncations, through its buffer's moves, blocks written again and padded last blocks.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "common/DirectFile.h"
#include "support/TempDir.h"

namespace {

std::string contents(const std::string& path) {
    const Bytes bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// What a file holds after `bytes` are written at `at`: zeros over any gap before them.
void writeInto(std::string& file, uint64_t at, const std::string& bytes) {
    if (file.size() < at + bytes.size())
        file.resize(at + bytes.size(), '\0');
    file.replace(at, bytes.size(), bytes);
}

// Mostly runs written on from the end, as recordings are, with headers written again anywhere
// before it, runs past the buffer, gaps, and the file cut short or made longer.
TEST(DirectFileTest, WritesSeeksAndTruncationsLeaveWhatTheyWouldInAnyFile) {
    TempDir dir;
    const std::string path = dir.file("direct.bin");
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        const auto below = [&](uint64_t n) { return n == 0 ? 0 : random() % n; };
        const std::unique_ptr<DirectFile> file = DirectFile::create(path);
        ASSERT_NE(nullptr, file);
        std::string model;
        for (int step = 0; step < 80; ++step) {
            switch (below(10)) {
            case 0:
                file->seek(below(model.size() + 1));
                break;
            case 1:
                file->seek(model.size() + below(3 * DirectFile::kBlock)); // a gap
                break;
            case 2: {
                const uint64_t size = below(model.size() + 2 * DirectFile::kBlock);
                ASSERT_TRUE(file->truncate(size));
                model.resize(size, '\0');
                break;
            }
            default: {
                const bool run = below(6) == 0;
                // Bytes that differ from their neighbours, so that any one out of place shows.
                std::string bytes(1 + below(run ? DirectFile::kBufferSize * 3 / 2 : 5000), '\0');
                const uint64_t first = random();
                for (std::size_t i = 0; i < bytes.size(); ++i)
                    bytes[i] = static_cast<char>((first + i) % 251);
                const uint64_t at = file->position();
                ASSERT_TRUE(file->write(bytes.data(), bytes.size()));
                writeInto(model, at, bytes);
                EXPECT_EQ(at + bytes.size(), file->position());
            }
            }
            ASSERT_EQ(model.size(), file->size());
        }
        ASSERT_TRUE(file->sync());
        EXPECT_TRUE(contents(path) == model) << "the file differs from what was written, at " << model.size()
                                             << " bytes";
    }
}

TEST(DirectFileTest, AStreamOverItWritesSeeksAndTellsAsAFileStreamDoesAndWritesAllOutWhenClosed) {
    TempDir dir;
    const std::string path = dir.file("stream.bin");
    std::FILE* stream = DirectFile::openStream(DirectFile::create(path));
    ASSERT_NE(nullptr, stream);
    std::string model;
    const std::string run(100000, 'r');
    for (int i = 0; i < 25; ++i) {
        ASSERT_EQ(run.size(), std::fwrite(run.data(), 1, run.size(), stream));
        model += run;
    }
    EXPECT_EQ(static_cast<off_t>(model.size()), ftello(stream));
    ASSERT_EQ(0, fseeko(stream, 10, SEEK_SET));
    ASSERT_EQ(3u, std::fwrite("abc", 1, 3, stream));
    writeInto(model, 10, "abc");
    EXPECT_EQ(13, ftello(stream));
    ASSERT_EQ(0, fseeko(stream, -2, SEEK_END));
    ASSERT_EQ(3u, std::fwrite("xyz", 1, 3, stream));
    writeInto(model, model.size() - 2, "xyz");
    ASSERT_EQ(0, fseeko(stream, -20, SEEK_CUR));
    EXPECT_EQ(static_cast<off_t>(model.size() - 20), ftello(stream));
    ASSERT_EQ(1u, std::fwrite("q", 1, 1, stream));
    writeInto(model, model.size() - 20, "q");
    EXPECT_NE(0, fseeko(stream, -1, SEEK_SET)) << "before the file's start";
    ASSERT_EQ(0, std::fclose(stream));
    EXPECT_TRUE(contents(path) == model);
}

} // namespace
