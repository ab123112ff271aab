#include "run/DialogSteps.h"

#include <algorithm>
#include <array>
#include <string>

#include "run/VirtualKeys.h"
#include "winsys/CommonControls.h"

namespace {

namespace script = win::headless;

constexpr int64_t kMaxControlId = 0xFFFF;
constexpr int64_t kMaxItemIndex = 100000;
constexpr int64_t kMaxPosition = 1000000;

// The item texts of a tree path: one or more strings up to the next step.
std::vector<std::string> treePath(ScenarioLine& line) {
    std::vector<std::string> path{line.quoted("tree item")};
    while (line.nextIsQuoted())
        path.push_back(line.quoted("tree item"));
    return path;
}

script::SetHotKey hotKey(ScenarioLine& line, int id) {
    struct Modifier {
        std::string_view name;
        win::BYTE flag;
    };
    static constexpr std::array<Modifier, 4> kModifiers = {{{"shift", win::HOTKEYF_SHIFT},
                                                            {"ctrl", win::HOTKEYF_CONTROL},
                                                            {"alt", win::HOTKEYF_ALT},
                                                            {"ext", win::HOTKEYF_EXT}}};
    const std::string keys = line.keyword("hot key");
    script::SetHotKey step{id, 0, 0};
    std::string_view rest = keys;
    for (std::size_t plus = rest.find('+'); plus != std::string_view::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const std::string_view name = rest.substr(0, plus);
        const auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                           [&](const Modifier& m) { return m.name == name; });
        if (modifier == kModifiers.end())
            line.fail("unknown hot-key modifier " + quote(name) + " (shift, ctrl, alt, ext)");
        step.modifiers = static_cast<win::BYTE>(step.modifiers | modifier->flag);
        rest = rest.substr(plus + 1);
    }
    const auto key = parseVirtualKey(rest);
    if (!key)
        line.fail("unknown key " + quote(rest));
    step.virtualKey = static_cast<win::BYTE>(*key);
    return step;
}

// Every step but close names its control first.
struct StepKind {
    std::string_view name;
    script::Step (*read)(ScenarioLine& line, int id);
};

constexpr std::array<StepKind, 12> kStepKinds = {{
    {"settext",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SetText{id, line.text("text")};
     }},
    {"check",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SetCheck{id, line.onOff("check")};
     }},
    {"select",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SelectIndex{id, static_cast<int>(line.integer("item index", 0, kMaxItemIndex))};
     }},
    {"selecttext",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SelectText{id, line.text("item text")};
     }},
    {"position",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SetPosition{id,
                                    static_cast<int>(line.integer("position", -kMaxPosition, kMaxPosition))};
     }},
    {"hotkey", [](ScenarioLine& line, int id) -> script::Step { return hotKey(line, id); }},
    {"treecheck",
     [](ScenarioLine& line, int id) -> script::Step {
         const bool checked = line.onOff("tree check");
         return script::SetTreeCheck{id, treePath(line), checked};
     }},
    {"treeselect",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::SelectTreeItem{id, treePath(line)};
     }},
    {"press", [](ScenarioLine&, int id) -> script::Step { return script::Press{id}; }},
    {"hold", [](ScenarioLine&, int id) -> script::Step { return script::Hold{id}; }},
    {"release", [](ScenarioLine&, int id) -> script::Step { return script::Release{id}; }},
    {"contextmenu",
     [](ScenarioLine& line, int id) -> script::Step {
         return script::ContextMenu{id, line.text("menu item")};
     }},
}};

script::Step step(ScenarioLine& line) {
    const std::string kind = line.keyword("dialog step");
    if (kind == "close")
        return script::Close{};
    const auto known =
        std::find_if(kStepKinds.begin(), kStepKinds.end(), [&](const StepKind& k) { return k.name == kind; });
    if (known == kStepKinds.end())
        line.fail("unknown dialog step " + quote(kind));
    const int id = static_cast<int>(line.integer("control id", 0, kMaxControlId));
    return known->read(line, id);
}

} // namespace

std::vector<win::headless::Step> parseDialogSteps(ScenarioLine& line) {
    std::vector<script::Step> steps{step(line)};
    while (!line.atEnd())
        steps.push_back(step(line));
    return steps;
}
