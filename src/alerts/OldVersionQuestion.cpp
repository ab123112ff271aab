#include "alerts/OldVersionQuestion.h"

#include "alerts/MessageBox.h"
#include "alerts/ShowError.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"

bool askConvertOldFile(const std::string& path) {
    MessageBoxRequest question;
    question.caption = "Zephrel";
    question.text = "The file '" + path +
                    "' was recorded with an older version of Zephrel. For playback it has to be converted to the "
                    "new format. Do you want to convert it now (a backup of the old file will be saved before the "
                    "conversion)?";
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesNo;
    if (showMessageBox(question) != AnswerYes)
        return false;
    try {
        ZflFile::convertV1File(path);
        return true;
    } catch (const ZephrelException& e) {
        showError(e.userText, e.severity);
        return false;
    }
}
