#include "ui/TQtDialogs.h"

#include "ui/TFileDialog.h"
#include "ui/TOpenDialog.h"

#include <QLabel>
#include <QPushButton>

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
