#include "ui/TQtDialogs.h"

#include "ui/TFileDialog.h"
#include "ui/TOpenDialog.h"
#include "ui/TSaveDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

bool TQtDialogs::Execute(TOpenDialog& dialog, QWidget* owner)
{
    TFileDialog fileDialog(dialog, owner);
    if (fileDialog.exec() != QDialog::Accepted)
        return false;
    const QStringList files = fileDialog.PickedFiles();
    if (files.isEmpty())
        return false;
    dialog.Confirm(files);
    return true;
}

bool TQtDialogs::ExecuteSave(TSaveDialog& dialog, QWidget* owner)
{
    QFileDialog fileDialog(owner, dialog.Title);
    // Qt's widgets, as the open-file dialogs: the same dialog on every desktop.
    fileDialog.setOption(QFileDialog::DontUseNativeDialog);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const TSaveDialog::TFileType& type : dialog.Types)
        filters << type.Filter;
    fileDialog.setNameFilters(filters);
    const int chosen = std::clamp<int>(dialog.Type, 0, static_cast<int>(filters.size()) - 1);
    fileDialog.selectNameFilter(filters.value(chosen));
    fileDialog.setDefaultSuffix(dialog.Types.value(chosen).Suffix);
    // A name typed without a suffix gets the one of the type shown.
    QObject::connect(&fileDialog, &QFileDialog::filterSelected, &fileDialog, [&](const QString& filter) {
        fileDialog.setDefaultSuffix(dialog.Types.value(static_cast<int>(filters.indexOf(filter))).Suffix);
    });
    if (!dialog.InitialDir.isEmpty())
        fileDialog.setDirectory(dialog.InitialDir);
    if (!dialog.FileName.isEmpty())
        fileDialog.selectFile(QFileInfo(dialog.FileName).completeBaseName());
    if (fileDialog.exec() != QDialog::Accepted)
        return false;
    const QStringList files = fileDialog.selectedFiles();
    if (files.isEmpty())
        return false;
    dialog.Confirm(files.front(), static_cast<int>(filters.indexOf(fileDialog.selectedNameFilter())));
    return true;
}

void TQtDialogs::Show(const TMessageBox& box, QWidget* owner)
{
    QMessageBox messageBox(box.Icon, box.Caption, box.Text, QMessageBox::NoButton, owner);
    QPushButton* button = messageBox.addButton(box.Button, QMessageBox::AcceptRole);
    messageBox.setDefaultButton(button);
    messageBox.setEscapeButton(button);
    if (!box.InformativeText.isEmpty()) {
        messageBox.setInformativeText(box.InformativeText);
        // A path is plain text, whatever characters it holds ("<b>" is part of a name).
        if (auto* label = messageBox.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
            label->setTextFormat(Qt::PlainText);
    }
    messageBox.exec();
}
