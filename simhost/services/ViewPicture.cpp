#include "services/ViewPicture.h"

#include <cstring>

#include "services/OwnCameras.h"
#include "winsys/Pixels.h"
#include "winsys/WindowApi.h"
#include "world/Aircraft.h"
#include "world/Airports.h"
#include "world/World.h"

ViewPicture::ViewPicture() {
    for (const Airport& airport : Airports::all())
        for (const AirportRunway& runway : airport.runways)
            runways_.push_back({runway.latitude, runway.longitude, airport.elevation, runway.heading, runway.length,
                                runway.width});
}

namespace {

constexpr double kFontSize = 13;
constexpr double kLineHeight = 18;
constexpr uint32_t kHostsPlace = 0xFFFFFFFFu; // the status text's place: where the host puts it

void showText(cairo_t* cr, double x, double y, const std::string& text, double r, double g, double b) {
    // A dark edge keeps a text readable over sky and ground alike.
    cairo_set_source_rgba(cr, 0, 0, 0, 0.6);
    cairo_move_to(cr, x + 1, y + 1);
    cairo_show_text(cr, text.c_str());
    cairo_set_source_rgb(cr, r, g, b);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

} // namespace

// The message line in a band across the top; status texts down the left below it, in the colour
// their second word gives (0xAARRGGBB); view captions at their place, or centred near the bottom
// when that lies outside the picture.
void ViewPicture::drawTexts(cairo_t* cr, int width, int height, const ZHostView* view,
                            std::span<const DrawnText> texts, const MessageLine* line) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kFontSize);
    cairo_text_extents_t extents;
    if (line != nullptr && !line->text.empty()) {
        cairo_set_source_rgba(cr, 0, 0, 0, 0.55);
        cairo_rectangle(cr, 0, 0, width, kLineHeight + 6);
        cairo_fill(cr);
        cairo_text_extents(cr, line->text.c_str(), &extents);
        const bool highlighted = line->kind != 0;
        showText(cr, (width - extents.x_advance) / 2, kLineHeight, line->text, 1, highlighted ? 0.85 : 1,
                 highlighted ? 0.2 : 1);
    }
    double statusRow = 2 * kLineHeight + 8;
    for (const DrawnText& text : texts) {
        if (text.view != view)
            continue;
        cairo_text_extents(cr, text.text.c_str(), &extents);
        if (text.status()) {
            const uint32_t colour = text.y;
            const bool coloured = text.x == kHostsPlace && (colour >> 24) != 0;
            const double r = coloured ? (colour >> 16 & 0xFF) / 255.0 : 1;
            const double g = coloured ? (colour >> 8 & 0xFF) / 255.0 : 1;
            const double b = coloured ? (colour & 0xFF) / 255.0 : 1;
            const bool placed = text.x != kHostsPlace && text.x < static_cast<uint32_t>(width) &&
                                text.y < static_cast<uint32_t>(height);
            showText(cr, placed ? text.x : 10, placed ? text.y : statusRow, text.text, r, g, b);
            if (!placed)
                statusRow += kLineHeight;
            continue;
        }
        const bool placed = text.x < static_cast<uint32_t>(width) && text.y < static_cast<uint32_t>(height);
        showText(cr, placed ? text.x : (width - extents.x_advance) / 2, placed ? text.y : height - 2 * kLineHeight,
                 text.text, 1, 1, 1);
    }
}

void ViewPicture::draw(win::HWND window, std::span<const ViewShot> views, const World& world,
                       std::span<const DrawnText> texts, const MessageLine& line) {
    win::RECT client{};
    if (!win::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        return;
    const int width = client.right, height = client.bottom;
    if (!surface_ || cairo_image_surface_get_width(surface_.get()) != width ||
        cairo_image_surface_get_height(surface_.get()) != height)
        surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));

    aircraft_.clear();
    for (const auto& [id, aircraft] : world.aircraft()) {
        const ViewCamera at = OwnCameras::atAircraft(*aircraft);
        aircraft_.push_back({at.latitude, at.longitude, at.altitude, at.heading, at.pitch, at.bank,
                             aircraft->type().spanMetres(), aircraft->type().lengthMetres()});
    }
    const Scene scene{aircraft_, runways_, World::groundElevation};
    cairo_t* cr = cairo_create(surface_.get());
    for (std::size_t i = 0; i < views.size(); ++i) {
        const ViewShot& view = views[i];
        const int w = view.place.right - view.place.left, h = view.place.bottom - view.place.top;
        if (w <= 0 || h <= 0)
            continue;
        cairo_save(cr);
        cairo_rectangle(cr, view.place.left, view.place.top, w, h);
        cairo_clip(cr);
        cairo_translate(cr, view.place.left, view.place.top);
        renderer_.draw(cr, Projection(view.eye, w, h), scene);
        drawTexts(cr, w, h, view.record, texts, i == 0 ? &line : nullptr);
        if (i != 0) {
            // An inset's edge, so that it stands apart from the view under it.
            cairo_set_source_rgb(cr, 0.95, 0.95, 0.95);
            cairo_set_line_width(cr, 2);
            cairo_rectangle(cr, 1, 1, w - 2, h - 2);
            cairo_stroke(cr);
        }
        cairo_restore(cr);
    }
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
