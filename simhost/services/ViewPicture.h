#pragma once

#include <cairo.h>

#include <memory>
#include <span>
#include <vector>

#include "picture/Renderer.h"
#include "services/ScreenTexts.h"
#include "winsys/Types.h"

class World;

// One view of the picture: where it looks from, where it lies in the main window's client area,
// and its record (texts drawn into it go with it).
struct ViewShot {
    ViewCamera eye;
    win::RECT place;
    const ZHostView* record;
};

// The picture of the simulator's main view: the world as a camera sees it, drawn into the main
// window's client pixels, where captures (and the picture files of zephrel-sim --frames) read it.
class ViewPicture {
public:
    ViewPicture();
    // Draws the views, the first over the whole client area of `window` at its present size, the
    // others over it, each with the texts add-ons drew into it in this frame; the message line
    // over the first.
    void draw(win::HWND window, std::span<const ViewShot> views, const World& world, std::span<const DrawnText> texts,
              const MessageLine& line);

private:
    static void drawTexts(cairo_t* cr, int width, int height, const ZHostView* view,
                          std::span<const DrawnText> texts, const MessageLine* line);

    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };

    Renderer renderer_;
    std::vector<SceneAircraft> aircraft_; // kept between pictures
    std::vector<Runway> runways_;         // of every airport, once
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::vector<uint8_t> rgb_;
};
