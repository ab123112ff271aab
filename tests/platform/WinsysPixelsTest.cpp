#include <gtest/gtest.h>

#include <vector>

#include "winsys/HeadlessScript.h"
#include "winsys/WinSys.h"

using namespace win;

namespace {

class WinsysPixelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless::reset();
        RegisterClass(WNDCLASS{0, DefWindowProc, nullptr, nullptr, "FS98MAIN"});
        // A plain popup: the client area is the whole 3 x 2 window.
        main_ = CreateWindowEx(0, "FS98MAIN", "FS", WS_POPUP, 0, 0, 3, 2, nullptr, 0, nullptr, nullptr);
    }
    void TearDown() override { headless::reset(); }

    // Rows top to bottom: (1,2,3) (4,5,6) (7,8,9) / (10,11,12) (13,14,15) (16,17,18), as R, G, B.
    static std::vector<uint8_t> image3x2() {
        std::vector<uint8_t> rgb;
        for (uint8_t value = 1; value <= 18; ++value)
            rgb.push_back(value);
        return rgb;
    }

    std::vector<uint8_t> capture(int width, int height) {
        BITMAPINFOHEADER header;
        header.biWidth = width;
        header.biHeight = height;
        std::vector<uint8_t> bits(dibStride(width) * static_cast<size_t>(height < 0 ? -height : height),
                                  0xEE);
        EXPECT_EQ(GetClientDIBits(main_, header, bits), height < 0 ? -height : height);
        return bits;
    }

    HWND main_ = nullptr;
};

TEST_F(WinsysPixelsTest, CaptureGivesBottomUpBgrRowsPaddedToFourBytes) {
    ASSERT_TRUE(SetClientPixels(main_, 3, 2, image3x2()));
    const std::vector<uint8_t> expected = {
        12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0, // bottom row first
        3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0,
    };
    EXPECT_EQ(capture(3, 2), expected);
}

TEST_F(WinsysPixelsTest, NegativeHeightAsksForTopDownRows) {
    ASSERT_TRUE(SetClientPixels(main_, 3, 2, image3x2()));
    const std::vector<uint8_t> expected = {
        3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0, 12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,
    };
    EXPECT_EQ(capture(3, -2), expected);
}

TEST_F(WinsysPixelsTest, WhatLiesOutsideTheDrawnClientAreaIsBlack) {
    ASSERT_TRUE(SetClientPixels(main_, 3, 2, image3x2()));
    MoveWindow(main_, 0, 0, 2, 2, true); // the client area now shows two columns only
    const std::vector<uint8_t> expected = {
        0,  0,  0,  0,  0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // row 3 lies below the image
        12, 11, 10, 15, 14, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 6, 5, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(capture(5, 3), expected);
    const HWND undrawn =
        CreateWindowEx(0, "FS98MAIN", "new", WS_POPUP, 0, 0, 3, 2, nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(GetClientPixels(undrawn), nullptr);
}

TEST_F(WinsysPixelsTest, DrawingAndCapturingRefuseWhatTheyCannotHold) {
    EXPECT_FALSE(SetClientPixels(main_, 3, 2, std::vector<uint8_t>(17)));
    const HWND view = CreateWindowEx(0, "FS98MAIN", "view", WS_CHILD, 0, 0, 3, 2, main_, 1, nullptr, nullptr);
    EXPECT_FALSE(SetClientPixels(view, 3, 2, image3x2()));
    ASSERT_TRUE(SetClientPixels(main_, 3, 2, image3x2()));
    EXPECT_EQ(GetClientPixels(main_)->rgb, image3x2());

    std::vector<uint8_t> bits(24);
    BITMAPINFOHEADER header;
    header.biWidth = 3;
    header.biHeight = 2;
    EXPECT_EQ(GetClientDIBits(main_, header, std::span<uint8_t>(bits).first(23)), 0);
    BITMAPINFOHEADER paletted = header;
    paletted.biBitCount = 8;
    EXPECT_EQ(GetClientDIBits(main_, paletted, bits), 0);
    EXPECT_EQ(GetClientDIBits(nullptr, header, bits), 0);
}

TEST_F(WinsysPixelsTest, RowStrideRoundsThreeBytesAPixelUpToFour) {
    struct Case {
        int width;
        size_t stride;
    };
    for (const Case c :
         {Case{1, 4}, Case{3, 12}, Case{4, 12}, Case{5, 16}, Case{1920, 5760}, Case{350, 1052}})
        EXPECT_EQ(dibStride(c.width), c.stride) << c.width;
}

} // namespace
