#pragma once

#include <QString>
#include <QStringList>

// Which view a list of files opens: the one rule for the files given on the command line and
// the files dropped onto the main window. Extensions are compared without regard to case.
struct TFileOpening {
    enum TKind {
        Nothing,    // no file: the main window as it starts
        Waveform,   // one recording (.wav): "Сигнал"
        Spectrum,   // one spectrum file (.spm): "1 график"
        Comparison, // 2 to 6 spectrum files: the comparison window of Window spectra
        Refused     // anything else: RefusedFilesText, and the main window as with no file
    };
    TKind Kind = Nothing;
    // The comparison window's number of charts: 2, 3 or 6 (4 and 5 files open the six).
    int Window = 0;
    // The files as full paths, in the given order.
    QStringList Files;
};

// Sorts `files` (relative paths taken in the current folder) into what they open. A folder, a
// file of another extension, more than six spectrum files or recordings beside spectrum files
// are refused. Whether a file can be read is left to the view, which reports it as its menu
// command does.
TFileOpening ClassifyFiles(const QStringList& files);

// The text of the message box for files that ClassifyFiles refuses.
QString RefusedFilesText();
