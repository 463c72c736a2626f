#pragma once

#include "core/analysis/SpmFile.h"

#include <QStringList>

#include <functional>
#include <string>

class TErrorBoundary;

// Reads the spectrum file at a local path (in the file system's encoding) into a value, or
// raises the error of the file.
using TSpectrumReader = std::function<TSpectrum(const std::string& localPath)>;

// What a comparison window needs from the program around it. The boundary and the list of
// picked files must outlive the window.
struct TComparisonContext {
    // Catches the errors of the window's handlers and shows them in the default error box.
    const TErrorBoundary& Boundary;
    // The files picked in the window's open-file dialog, in the dialog's order; read again on
    // every show of the window.
    const QStringList& PickedFiles;
    // How the window reads its spectrum files (ReadSpectrum in the program).
    TSpectrumReader ReadSpectrum;
};
