#include "tests/support/TScriptedDialogs.h"

#include "ui/TOpenDialog.h"

namespace testsupport {

bool TScriptedDialogs::Execute(TOpenDialog& dialog, QWidget*)
{
    Executed << dialog.Name;
    if (Answers.empty())
        return false;
    const std::optional<QStringList> answer = Answers.front();
    Answers.pop_front();
    if (!answer)
        return false;
    if (answer->isEmpty()) {
        dialog.Files.clear();
        dialog.FileName.clear();
    } else {
        dialog.Confirm(*answer);
    }
    return true;
}

void TScriptedDialogs::Show(const TMessageBox& box, QWidget*)
{
    Shown.push_back(box);
    if (OnShow)
        OnShow(box);
}

} // namespace testsupport
