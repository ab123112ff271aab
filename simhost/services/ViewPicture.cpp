#include "services/ViewPicture.h"

#include <cstring>

#include "winsys/Pixels.h"
#include "winsys/WindowApi.h"
#include "world/Aircraft.h"
#include "world/Airports.h"
#include "world/Earth.h"
#include "world/World.h"

ViewPicture::ViewPicture() {
    for (const Airport& airport : Airports::all())
        for (const AirportRunway& runway : airport.runways)
            runways_.push_back({runway.latitude, runway.longitude, airport.elevation, runway.heading, runway.length,
                                runway.width});
}

void ViewPicture::draw(win::HWND window, const ViewCamera& camera, const World& world) {
    win::RECT client{};
    if (!win::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    const int width = client.right, height = client.bottom;
    if (!surface_ || cairo_image_surface_get_width(surface_.get()) != width ||
        cairo_image_surface_get_height(surface_.get()) != height)
        surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));

    aircraft_.clear();
    for (const auto& [id, aircraft] : world.aircraft()) {
        const ZHostPosition& p = aircraft->position();
        aircraft_.push_back({Earth::latitudeDegrees(p.latitude), Earth::longitudeDegrees(p.longitude),
                             Earth::altitudeMetres(p.altitude), Earth::headingDegrees(p.heading),
                             -Earth::angleDegrees(p.pitch), -Earth::angleDegrees(p.bank),
                             aircraft->type().spanMetres(), aircraft->type().lengthMetres()});
    }
    cairo_t* cr = cairo_create(surface_.get());
    renderer_.draw(cr, Projection(camera, width, height), Scene{aircraft_, runways_, World::groundElevation});
    cairo_destroy(cr);
    cairo_surface_flush(surface_.get());

    // The window system takes rows of R, G, B; cairo keeps each pixel as one native word xRGB.
    const unsigned char* data = cairo_image_surface_get_data(surface_.get());
    const int stride = cairo_image_surface_get_stride(surface_.get());
    rgb_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, data + static_cast<std::ptrdiff_t>(y) * stride + 4 * x, sizeof pixel);
            uint8_t* out = rgb_.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                          static_cast<std::size_t>(x)) * 3;
            out[0] = static_cast<uint8_t>(pixel >> 16);
            out[1] = static_cast<uint8_t>(pixel >> 8);
            out[2] = static_cast<uint8_t>(pixel);
        }
    }
    win::SetClientPixels(window, width, height, rgb_);
}
