#include "ui/SpeedsEntry.h"

#include "alerts/MessageBox.h"
#include "settings/SpeedList.h"

std::optional<std::vector<double>> acceptSpeedsFromDialog(const std::string& text) {
    auto speeds = SpeedList::parse(text, SpeedList::kDialogSeparator);
    if (!speeds)
        showMessageBox({"The speeds string you entered is not valid. You have to enter a sequence of values between "
                        "0.03 and 100 in ascending order separated by semicolons, where one value has to be 1.",
                        "Invalid Speeds", MessageIcon::Error, MessageButtons::Ok});
    return speeds;
}
