#pragma once

#include <string>

// The boxes the file layer shows: over the simulator's main window, inside the modal bracket,
// through the window system.
enum class MessageIcon { None, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };

// The answers, numbered as the window system numbers them.
enum MessageAnswer : int { AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Returns when the user has answered.
int showMessageBox(const MessageBoxRequest& request);
