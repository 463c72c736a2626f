#include "tests/support/TScriptedDialogs.h"

#include "ui/TOpenDialog.h"

#include <QFileInfo>

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
    dialog.Files = *answer;
    dialog.FileName = answer->value(0);
    if (!answer->isEmpty())
        dialog.InitialDir = QFileInfo(answer->front()).absolutePath();
    return true;
}

void TScriptedDialogs::Show(const TMessageBox& box, QWidget*)
{
    Shown.push_back(box);
    if (OnShow)
        OnShow(box);
}

} // namespace testsupport
