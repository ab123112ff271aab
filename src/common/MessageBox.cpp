#include "MessageBox.h"

#include <cstdio>

namespace {

MessageBoxPresenter presenter;
MessageBoxRequest lastFallback;

const char* iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Warning:
        return "warning";
    case MessageIcon::Error:
        return "error";
    case MessageIcon::Question:
        return "question";
    case MessageIcon::None:
        break;
    }
    return "none";
}

int fallback(const MessageBoxRequest& request) {
    lastFallback = request;
    bool question = request.buttons == MessageButtons::YesNo;
    std::fprintf(stderr, "[%s] (%s) %s%s\n", request.caption.c_str(), iconName(request.icon), request.text.c_str(),
                 question ? " -> No" : "");
    return question ? AnswerNo : AnswerOk;
}

} // namespace

void setMessageBoxPresenter(MessageBoxPresenter newPresenter) { presenter = std::move(newPresenter); }

int showMessageBox(const MessageBoxRequest& request) {
    if (presenter)
        return presenter(request);
    return fallback(request);
}

const MessageBoxRequest& lastFallbackMessageBox() { return lastFallback; }
