#pragma once

#include "ui/IDialogs.h"
#include "ui/TOpenDialog.h"

#include <QFileInfo>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

// Dialogs answered by a script instead of a person: each Execute takes the next answer (the
// paths to pick, or nullopt to cancel; cancel when none is left), and every message box is
// recorded instead of shown.
class TScriptedDialogs final : public IDialogs
{
public:
    void Pick(const QStringList& paths) { Answers.emplace_back(paths); }
    void Cancel() { Answers.emplace_back(std::nullopt); }

    bool Execute(TOpenDialog& dialog, QWidget*) override
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

    void Show(const TMessageBox& box, QWidget*) override
    {
        Shown.push_back(box);
        if (OnShow)
            OnShow(box);
    }

    std::deque<std::optional<QStringList>> Answers;
    QStringList Executed;                       // names of the dialogs run, in order
    std::vector<TMessageBox> Shown;             // message boxes, in order
    std::function<void(const TMessageBox&)> OnShow;
};
