// The host's message line, the status text and the view captions.

#include "host/HostTexts.h"

#include "host/FSinterface.h"
#include "host/HostEventHandlers.h"
#include "host/HostState.h"

namespace {

constexpr float kHostTicksPerSecond = 18;
constexpr int32_t kHighlightedText = 3;
constexpr int32_t kPlainText = 4;

void freeText(const HostBindings& b, std::string& text, uint32_t& resource) {
    if (resource != 0)
        b.textFree(resource);
    resource = 0;
    text.clear();
}

// A text drawn by the host lives in a text resource of its own: a changed text gets a new one.
void replaceText(const HostBindings& b, std::string& current, uint32_t& resource, const std::string& text) {
    if (text == current)
        return;
    freeText(b, current, resource);
    current = text;
    resource = text.empty() ? 0 : b.textCreate(text.c_str());
}

} // namespace

void FSinterface::showText(const std::string& text, float seconds, bool highlight) {
    const HostState& s = hostState();
    if (s.stopping)
        return;
    const int32_t kind = highlight ? kHighlightedText : kPlainText;
    if (seconds <= 0 || text.empty()) {
        // The first host version clears its line only with a blank.
        s.bound.showText(s.firstHost() ? " " : "", kind, 0);
        return;
    }
    s.bound.showText(text.c_str(), kind, static_cast<uint32_t>(seconds * kHostTicksPerSecond));
}

void FSinterface::setStatusText(const std::string& text, uint32_t x, uint32_t y) {
    HostState& s = hostState();
    if (s.stopping)
        return;
    s.statusX = x;
    s.statusY = y;
    replaceText(s.bound, s.statusText, s.statusTextResource, text);
}

void FSinterface::setViewCaption(const std::string& text, float seconds, uint32_t x, uint32_t y, int viewIndex) {
    HostState& s = hostState();
    const int index = viewIndex == -1 ? s.activeView : viewIndex;
    if (s.stopping || index < 0 || static_cast<std::size_t>(index) >= s.views.size())
        return;
    HostViewEntry& view = s.views[static_cast<std::size_t>(index)];
    view.captionTime = seconds;
    view.captionX = x;
    view.captionY = y;
    replaceText(s.bound, view.caption, view.textResource, text);
}

void FSinterface::setHideTexts(bool hide) {
    hostState().hideTexts = hide;
    HostEventHandlers::refreshTexts();
}

void HostTexts::freeCaption(HostViewEntry& view) {
    freeText(hostState().bound, view.caption, view.textResource);
}

void HostTexts::freeAll() {
    HostState& s = hostState();
    freeText(s.bound, s.statusText, s.statusTextResource);
    for (HostViewEntry& view : s.views)
        freeCaption(view);
}
