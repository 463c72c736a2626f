#pragma once

#include <QString>
#include <QStringList>

// The state of one save-file dialog of a window: its title, the file types it offers, and
// what it keeps between uses (the folder and the type last chosen). The dialog is run through
// IDialogs::ExecuteSave; this record only holds its settings and its answer.
struct TSaveDialog {
    // One file type: its name filter as the file dialog takes it ("Рисунок PNG (*.png)") and
    // the suffix a name without one gets ("png").
    struct TFileType {
        QString Filter;
        QString Suffix;
    };

    TSaveDialog(QString name, QString title, QList<TFileType> types);

    // Keeps a confirmed answer: `path` (a full path) becomes FileName and its folder
    // InitialDir; `type` (an index into Types) becomes Type. A name without a suffix gets the
    // suffix of its type.
    void Confirm(const QString& path, int type);

    // The type the saved file is written as: the type whose suffix the name ends with (in any
    // case), else the type chosen in the dialog.
    int TypeOfFile() const;

    QString Name;           // the dialog's name, e.g. "PictureDialog"
    QString Title;          // the dialog's window title, e.g. "Сохранить рисунок"
    QList<TFileType> Types; // the first is the default
    int Type = 0;           // the type chosen last
    QString InitialDir;     // folder of the last saved file; empty before the first
    QString FileName;       // the last saved path; empty before the first
};
