#pragma once

#include "ui/IDialogs.h"

// The dialogs of the running program: QFileDialog and QMessageBox.
class TQtDialogs final : public IDialogs {
public:
    bool Execute(TOpenDialog& dialog, QWidget* owner) override;
    bool ExecuteSave(TSaveDialog& dialog, QWidget* owner) override;
    void Show(const TMessageBox& box, QWidget* owner) override;
};
