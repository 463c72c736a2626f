#pragma once

#include <QFileDialog>
#include <QStringList>

struct TOpenDialog;

// The open-file dialog of the program: Qt's own file dialog (the same on every desktop), set up
// from a TOpenDialog. It opens in the folder of the last picked files with those files selected,
// and it takes the names typed into its file-name box as typed: every typed name that exists is
// picked, in the typed order, whether or not the filter lists it; a typed name that does not
// exist keeps the dialog open with a message naming it. Nothing typed is dropped silently.
class TFileDialog : public QFileDialog {
public:
    TFileDialog(const TOpenDialog& dialog, QWidget* owner);

    // The full paths picked when the dialog was accepted, in the dialog's order.
    QStringList PickedFiles() const;

    // The names in the file-name box as full paths: one name, or several quoted names
    // separated by spaces; a relative name is taken in the folder shown.
    QStringList TypedFiles() const;

protected:
    void accept() override;

private:
    void RestoreSelection(const QStringList& files);
    void UpdateOpenButton();

    QStringList picked_;
};
