#pragma once

#include <span>
#include <vector>

#include "winsys/Types.h"

// The pixels of top-level windows. A window's owner draws its client area by handing the window
// system an RGB image; a capture reads the client area back the way the original's GetDIBits
// reads a 24-bit device-independent bitmap. Both reads let a window paint first when it is due
// (UpdateWindow).
namespace win {

// Rows top to bottom, 3 bytes per pixel in the order R, G, B, no padding.
struct ClientPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

// False for a child window or when rgb does not hold width x height pixels.
bool SetClientPixels(HWND hwnd, int width, int height, std::vector<uint8_t> rgb);
// Nullptr until the owner has drawn.
const ClientPixels* GetClientPixels(HWND hwnd);

inline constexpr uint32_t BI_RGB = 0;

struct BITMAPINFOHEADER {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0; // positive: bottom-up rows, negative: top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 24;
    uint32_t biCompression = BI_RGB;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40);

// Bytes of one row of a 24-bit DIB: 3 per pixel, padded to a multiple of 4.
constexpr size_t dibStride(int width) {
    return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
}

// Copies the top-left biWidth x |biHeight| pixels of the client area into `bits` as a 24-bit
// DIB: bytes B, G, R per pixel, each row padded with zeros to dibStride, the bottom row first
// (the top row first when biHeight is negative). Pixels outside the client area or not drawn
// are black. Returns the number of rows copied; 0 when the header is not 24-bit uncompressed,
// `bits` is too small or the window does not exist.
int GetClientDIBits(HWND hwnd, const BITMAPINFOHEADER& header, std::span<uint8_t> bits);

} // namespace win
