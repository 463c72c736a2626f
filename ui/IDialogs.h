#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;
struct TOpenDialog;
struct TSaveDialog;

// One modal message box with a single button.
struct TMessageBox {
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QString Caption;
    QString Text;
    QString Button;            // the caption of its one button, e.g. "OK" or "&Abort"
    QString InformativeText{}; // shown under Text as plain text, e.g. the file that failed; none when empty
};

// The seam between the windows and the modal dialogs that need a person to answer them. The
// program runs Qt's file dialogs and message boxes (TQtDialogs); tests install a scripted fake
// that answers without a person.
class IDialogs {
public:
    virtual ~IDialogs() = default;

    // Runs an open-file dialog owned by `owner`, in dialog.InitialDir with dialog.Files
    // selected. When the person confirms, stores the picked full paths (TOpenDialog::Confirm)
    // and returns true. When cancelled returns false and changes nothing.
    virtual bool Execute(TOpenDialog& dialog, QWidget* owner) = 0;

    // Runs a save-file dialog owned by `owner`, in dialog.InitialDir with dialog.Type's filter
    // chosen. When the person confirms a name, stores it (TSaveDialog::Confirm) and returns
    // true; the dialog has already asked whether to replace an existing file. When cancelled
    // returns false and changes nothing.
    virtual bool ExecuteSave(TSaveDialog& dialog, QWidget* owner) = 0;

    // Shows a message box and returns once it is dismissed; owner may be null (no owner window).
    virtual void Show(const TMessageBox& box, QWidget* owner) = 0;
};
