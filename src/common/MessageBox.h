#pragma once

#include <functional>
#include <string>

// The seam through which the file layer asks the user something or tells them of an error. The
// window system installs the presenter that shows a real box owned by the simulator's window;
// until one is installed, boxes are printed to stderr and answered as a user who cannot be asked
// would answer (OK, or No to a question).
enum class MessageIcon { None, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };

// The answers, numbered as the original platform numbers them.
enum MessageAnswer : int { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessageBoxPresenter = std::function<int(const MessageBoxRequest&)>;

// An empty presenter restores the stderr fallback.
void setMessageBoxPresenter(MessageBoxPresenter presenter);

int showMessageBox(const MessageBoxRequest& request);

// The last box the stderr fallback showed, for whoever needs to know what the user would have seen.
const MessageBoxRequest& lastFallbackMessageBox();
