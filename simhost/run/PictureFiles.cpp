#include "run/PictureFiles.h"

#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "winsys/Pixels.h"

std::string PictureFiles::pathFor(uint64_t frame) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06llu.png", static_cast<unsigned long long>(frame));
    return folder + "/" + name;
}

bool writeClientPng(win::HWND window, const std::string& path) {
    const win::ClientPixels* pixels = win::GetClientPixels(window);
    if (pixels == nullptr || pixels->width <= 0 || pixels->height <= 0)
        return false;
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels->width, pixels->height), &cairo_surface_destroy);
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < pixels->height; ++y) {
        for (int x = 0; x < pixels->width; ++x) {
            const uint8_t* rgb = pixels->rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels->width) +
                                                       static_cast<std::size_t>(x)) * 3;
            const uint32_t pixel = uint32_t{rgb[0]} << 16 | uint32_t{rgb[1]} << 8 | rgb[2];
            std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, &pixel, sizeof pixel);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}
