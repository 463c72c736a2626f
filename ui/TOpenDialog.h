#pragma once

#include <QString>
#include <QStringList>

// The state of one open-file dialog of a window: its filters, whether several files may be
// picked, and what it keeps between uses (the folder and the last selection). The dialog is
// run through IDialogs::Execute; this record only holds its settings and its answer.
struct TOpenDialog {
    // One filter: its display name and its patterns, separated by spaces ("*.spm *.wav").
    struct TFilter {
        QString Name;
        QString Pattern;
    };

    // A dialog of one filter.
    TOpenDialog(QString name, QString filterName, QString pattern, bool multiSelect);
    // A dialog of several filters (at least one), the first chosen as it opens.
    TOpenDialog(QString name, QList<TFilter> filters, bool multiSelect);

    // The first filter as the file dialog takes it, e.g. "Файлы данных (*.wav)".
    QString NameFilter() const;
    // Every filter so, in order.
    QStringList NameFilters() const;

    // Keeps a confirmed pick: files (full paths, not empty) become Files, the first also
    // FileName, and its folder InitialDir, so that the next use opens where the files are,
    // whichever folder the dialog showed when they were picked (a typed full path).
    void Confirm(const QStringList& files);

    QString Name; // the dialog's name, e.g. "TwoSpectraDialog"
    QList<TFilter> Filters;
    QString FilterName; // display name of the first filter
    QString Pattern;    // file pattern of the first filter
    bool MultiSelect;   // several files may be picked
    QString InitialDir; // folder of the first file of the last confirmed use; empty before the first
    QString FileName;   // first picked path; the first pattern before the first use
    QStringList Files;  // full paths of the last confirmed selection, in the dialog's order
};
