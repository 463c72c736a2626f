#pragma once

// Dialogs answered by a script instead of a person, for the widget tests.

#include "ui/IDialogs.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace testsupport {

// Each Execute takes the next answer (the paths to pick, or nullopt to cancel; it cancels
// when none is left) and stores it in the dialog as the Qt dialogs do; every message box is
// recorded instead of shown.
class TScriptedDialogs final : public IDialogs {
public:
    void Pick(const QStringList& paths) { Answers.emplace_back(paths); }
    void Cancel() { Answers.emplace_back(std::nullopt); }

    // The next save dialog confirms `path` with file type `type` (TSaveDialog::Confirm).
    void Save(const QString& path, int type = 0) { SaveAnswers.emplace_back(path, type); }

    bool Execute(TOpenDialog& dialog, QWidget* owner) override;
    // Takes the next answer of Save; cancels when none is left.
    bool ExecuteSave(TSaveDialog& dialog, QWidget* owner) override;
    void Show(const TMessageBox& box, QWidget* owner) override;

    std::deque<std::optional<QStringList>> Answers;
    std::deque<std::pair<QString, int>> SaveAnswers;
    QStringList Executed;           // names of the dialogs run (open and save), in order
    QList<QStringList> Filters;     // the filters each of them offered, in the same order
    std::vector<TMessageBox> Shown; // message boxes, in order
    std::function<void(const TMessageBox&)> OnShow;
};

} // namespace testsupport
