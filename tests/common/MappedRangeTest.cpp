// A mapped range of a file that another program cuts short: the bytes gone read as zeros and the
// range says it was cut, where they would otherwise end the process; the bytes kept are as they
// were, and a range mapped again starts uncut.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/MappedRange.h"

namespace {

TEST(MappedRangeTest, BytesCutAwayUnderTheRangeReadAsZerosAndTheRangeSaysSo) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zephrel-mapped-" + std::to_string(getpid()) + ".bin");
    constexpr std::size_t kSize = 1 << 16;
    std::ofstream(path, std::ios::binary) << std::string(kSize, 'x');
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    MappedRange range;
    const unsigned char* bytes = range.map(fd, 100, kSize - 100);
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ('x', bytes[0]);
    EXPECT_FALSE(range.cut());
    std::filesystem::resize_file(path, 8192);
    EXPECT_EQ('x', bytes[8000]) << "a byte the file kept";
    EXPECT_FALSE(range.cut());
    std::size_t sum = 0;
    for (std::size_t at = 8192 - 100; at < kSize - 100; ++at)
        sum += bytes[at];
    EXPECT_EQ(0u, sum) << "the bytes cut away";
    EXPECT_TRUE(range.cut());
    ASSERT_NE(nullptr, range.map(fd, 0, 4096));
    EXPECT_FALSE(range.cut()) << "a range mapped again";
    range.unmap();
    ::close(fd);
    std::filesystem::remove(path);
}

} // namespace
