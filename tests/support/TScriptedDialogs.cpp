#include "tests/support/TScriptedDialogs.h"

#include "ui/TOpenDialog.h"
#include "ui/TSaveDialog.h"

namespace testsupport {

bool TScriptedDialogs::Execute(TOpenDialog& dialog, QWidget*)
{
    Executed << dialog.Name;
    Filters << dialog.NameFilters();
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

bool TScriptedDialogs::ExecuteSave(TSaveDialog& dialog, QWidget*)
{
    Executed << dialog.Name;
    QStringList offered;
    for (const TSaveDialog::TFileType& type : dialog.Types)
        offered << type.Filter;
    Filters << offered;
    if (SaveAnswers.empty())
        return false;
    const auto [path, type] = SaveAnswers.front();
    SaveAnswers.pop_front();
    dialog.Confirm(path, type);
    return true;
}

void TScriptedDialogs::Show(const TMessageBox& box, QWidget*)
{
    Shown.push_back(box);
    if (OnShow)
        OnShow(box);
}

} // namespace testsupport
