#include "services/ScreenTexts.h"

#include <algorithm>

ScreenTexts::ScreenTexts(SimContext& context, TextResources& resources)
    : context_(context), resources_(resources) {}

void ScreenTexts::showText(const char* text, int32_t kind, uint32_t ticks) {
    if (text == nullptr) {
        context_.wrongForms.report("showText without a text");
        return;
    }
    const std::string shown = text;
    const char* clearing = context_.firstHost() ? " " : "";
    if (ticks == 0 || shown.empty()) {
        if (shown != clearing)
            context_.wrongForms.report("showText clears the message line with \"" + shown +
                                       "\"; this host version takes \"" + clearing + "\" and duration 0");
        line_ = MessageLine{};
        return;
    }
    line_ = MessageLine{shown, kind, ticks};
    lineTicks_.reset();
}

// Recorded, with its place, for the picture of the frame.
void ScreenTexts::drawText(ZHostView* view, uint32_t resource, uint32_t x, uint32_t y, uint32_t mode) {
    const std::string* text = resources_.find(resource);
    if (view == nullptr || text == nullptr) {
        context_.wrongForms.report(view == nullptr ? "drawText without a view"
                                                   : "drawText of a text that does not exist");
        return;
    }
    if (!validDrawMode(mode)) {
        context_.wrongForms.report("drawText in mode " + std::to_string(mode) +
                                   ", which this host version lacks");
        return;
    }
    drawn_.push_back(*text);
    places_.push_back({view, *text, x, y, mode});
}

void ScreenTexts::passTime(double realSeconds) {
    if (line_.ticksLeft == 0)
        return;
    line_.ticksLeft -= std::min(lineTicks_.add(realSeconds), line_.ticksLeft);
    if (line_.ticksLeft == 0)
        line_ = MessageLine{};
}

bool ScreenTexts::validDrawMode(uint32_t mode) const {
    return context_.olderHost() ? mode == 7 || mode == 13 : mode == 9 || mode == 15;
}
