#pragma once

#include <string>
#include <vector>

#include "winsys/Dialogs.h"

// What is wrong with a template's layout: a control reaching out of the dialog, or two controls
// covering each other (a group box may hold controls). A combo box counts with its closed height,
// since its list opens over whatever lies below.
inline std::vector<std::string> layoutProblems(const win::DialogTemplate& dialog) {
    constexpr int kClosedComboHeight = 12;
    struct Box {
        std::string name;
        int left, top, right, bottom;
    };
    std::vector<Box> boxes;
    std::vector<std::string> problems;
    for (const win::ControlTemplate& control : dialog.controls) {
        if (control.kind == win::ControlKind::GroupBox)
            continue;
        const win::DialogRect& r = control.rect;
        const int height = control.kind == win::ControlKind::ComboBox ? kClosedComboHeight : r.height;
        const Box box{std::to_string(control.id) + " \"" + control.text.substr(0, 20) + "\"", r.x, r.y,
                      r.x + r.width, r.y + height};
        if (box.left < 0 || box.top < 0 || box.right > dialog.width || box.bottom > dialog.height)
            problems.push_back(box.name + " reaches out of the dialog");
        for (const Box& other : boxes)
            if (box.left < other.right && other.left < box.right && box.top < other.bottom &&
                other.top < box.bottom)
                problems.push_back(box.name + " covers " + other.name);
        boxes.push_back(box);
    }
    return problems;
}
