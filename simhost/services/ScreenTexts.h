#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "host/hostabi.h"
#include "services/TextResources.h"
#include "services/TickCounter.h"
#include "world/SimContext.h"

// One message-line text as the simulator shows it.
struct MessageLine {
    std::string text;
    int32_t kind = 0;
    uint32_t ticksLeft = 0; // 18 per second
};

// A text an add-on drew into a view in this frame, with the place and the word it gave (the
// status text's place -1 means where the host puts it, its second word is then its colour).
struct DrawnText {
    ZHostView* view;
    std::string text;
    uint32_t x;
    uint32_t y;
    uint32_t mode;
    // The status text's draw modes (7 and 9); the others are view captions'.
    bool status() const { return mode == 7 || mode == 9; }
};

// What window.dll shows: the message line and the texts add-ons draw into views.
class ScreenTexts {
public:
    ScreenTexts(SimContext& context, TextResources& resources);
    ScreenTexts(const ScreenTexts&) = delete;
    ScreenTexts& operator=(const ScreenTexts&) = delete;

    // window.dll's showText. A duration of 0 clears the line, with the blank text (" ") on the
    // first host version and the empty text on the others; the other clearing text is a wrong form.
    void showText(const char* text, int32_t kind, uint32_t ticks);
    // window.dll's drawText, in the draw modes of the host version (7 and 13 on the older hosts,
    // 9 and 15 on the newer ones).
    void drawText(ZHostView* view, uint32_t resource, uint32_t x, uint32_t y, uint32_t mode);


    // A new frame: the texts drawn in the last one are forgotten.
    void beginFrame() {
        drawn_.clear();
        places_.clear();
    }
    // The message line's time runs out in real time, also while paused.
    void passTime(double realSeconds);

    const MessageLine& messageLine() const { return line_; }
    const std::vector<std::string>& drawnTexts() const { return drawn_; }
    const std::vector<DrawnText>& drawnTextPlaces() const { return places_; }

private:
    bool validDrawMode(uint32_t mode) const;

    SimContext& context_;
    TextResources& resources_;
    MessageLine line_;
    TickCounter lineTicks_;
    std::vector<std::string> drawn_;
    std::vector<DrawnText> places_;
};
