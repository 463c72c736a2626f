#include "ui/TQtDialogs.h"

#include "ui/TOpenDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

namespace {

// The previous selection as the dialog's file-name box takes it: one name, or several
// quoted names separated by spaces.
QString SelectionText(const QStringList& files)
{
    if (files.size() == 1)
        return QFileInfo(files.front()).fileName();
    QStringList quoted;
    for (const QString& file : files)
        quoted << QLatin1Char('"') + QFileInfo(file).fileName() + QLatin1Char('"');
    return quoted.join(QLatin1Char(' '));
}

} // namespace

bool TQtDialogs::Execute(TOpenDialog& dialog, QWidget* owner)
{
    QFileDialog fileDialog(owner);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A single-file dialog accepts a typed name that does not exist: opening it reports the error.
    fileDialog.setFileMode(dialog.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::AnyFile);
    fileDialog.setNameFilter(dialog.NameFilter());
    if (!dialog.InitialDir.isEmpty())
        fileDialog.setDirectory(dialog.InitialDir);
    if (!dialog.Files.isEmpty())
        fileDialog.selectFile(SelectionText(dialog.Files));

    if (fileDialog.exec() != QDialog::Accepted)
        return false;
    const QStringList files = fileDialog.selectedFiles();
    if (files.isEmpty())
        return false;
    dialog.Files = files;
    dialog.FileName = files.front();
    dialog.InitialDir = fileDialog.directory().absolutePath();
    return true;
}

void TQtDialogs::Show(const TMessageBox& box, QWidget* owner)
{
    QMessageBox messageBox(box.Icon, box.Caption, box.Text, QMessageBox::NoButton, owner);
    QPushButton* button = messageBox.addButton(box.Button, QMessageBox::AcceptRole);
    messageBox.setDefaultButton(button);
    messageBox.setEscapeButton(button);
    messageBox.exec();
}
