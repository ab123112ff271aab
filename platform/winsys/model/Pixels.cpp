#include "winsys/Pixels.h"

#include <algorithm>
#include <cstdlib>

#include "winsys/WindowApi.h"
#include "winsys/model/Geometry.h"
#include "winsys/model/WindowStore.h"

namespace win {

bool SetClientPixels(HWND hwnd, int width, int height, std::vector<uint8_t> rgb) {
    WindowObject* window = model::find(hwnd);
    if (window == nullptr || window->isChild() || width < 0 || height < 0 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        return false;
    window->pixels = std::make_unique<ClientPixels>(ClientPixels{width, height, std::move(rgb)});
    return true;
}

const ClientPixels* GetClientPixels(HWND hwnd) {
    UpdateWindow(hwnd);
    const WindowObject* window = model::find(hwnd);
    return window == nullptr ? nullptr : window->pixels.get();
}

int GetClientDIBits(HWND hwnd, const BITMAPINFOHEADER& header, std::span<uint8_t> bits) {
    UpdateWindow(hwnd);
    const WindowObject* window = model::find(hwnd);
    if (window == nullptr || header.biBitCount != 24 || header.biCompression != BI_RGB ||
        header.biPlanes != 1 || header.biWidth <= 0 || header.biHeight == 0)
        return 0;
    const int width = header.biWidth;
    const int rows = std::abs(header.biHeight);
    const size_t stride = dibStride(width);
    if (bits.size() < stride * static_cast<size_t>(rows))
        return 0;

    const POINT client = model::clientSize(*window);
    const ClientPixels* pixels = window->pixels.get();
    std::fill(bits.begin(), bits.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(rows)),
              0);
    if (pixels == nullptr)
        return rows;
    // Only what lies both in the client area and in the drawn image is copied; the rest is black.
    const int drawnWidth = std::min(client.x, pixels->width);
    const int drawnHeight = std::min(client.y, pixels->height);
    for (int row = 0; row < rows; ++row) {
        const int y = header.biHeight > 0 ? rows - 1 - row : row;
        if (y >= drawnHeight)
            continue;
        uint8_t* out = bits.data() + stride * static_cast<size_t>(row);
        const uint8_t* in =
            pixels->rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(pixels->width) * 3;
        for (int x = 0; x < std::min(width, drawnWidth); ++x) {
            const size_t at = static_cast<size_t>(x) * 3;
            out[at] = in[at + 2];
            out[at + 1] = in[at + 1];
            out[at + 2] = in[at];
        }
    }
    return rows;
}

} // namespace win
