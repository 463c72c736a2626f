#pragma once

#include <QString>
#include <QStringList>

// The state of one open-file dialog of a window: its filter, whether several files may be
// picked, and what it keeps between uses (the folder and the last selection). The dialog is
// run through IDialogs::Execute; this record only holds its settings and its answer.
struct TOpenDialog {
    TOpenDialog(QString name, QString filterName, QString pattern, bool multiSelect);

    // The filter as the file dialog takes it, e.g. "Файлы данных (*.wav)".
    QString NameFilter() const;

    // Keeps a confirmed pick: files (full paths, not empty) become Files, the first also
    // FileName, and its folder InitialDir, so that the next use opens where the files are,
    // whichever folder the dialog showed when they were picked (a typed full path).
    void Confirm(const QStringList& files);

    QString Name;       // the dialog's name, e.g. "TwoSpectraDialog"
    QString FilterName; // display name of the filter
    QString Pattern;    // file pattern of the filter
    bool MultiSelect;   // several files may be picked
    QString InitialDir; // folder of the first file of the last confirmed use; empty before the first
    QString FileName;   // first picked path; the pattern itself before the first use
    QStringList Files;  // full paths of the last confirmed selection, in the dialog's order
};
