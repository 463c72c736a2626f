#pragma once

#include <memory>

class IDialogs;
class TComparisonWindow;
class TMainWindow;

// The program's four windows, created at start-up in this order: the main window, then the
// two-, three- and six-spectrum windows, hidden, each reading the files picked in its own
// dialog of the main window. They live until the program ends; the comparison windows are
// destroyed first.
struct TProgramWindows {
    explicit TProgramWindows(IDialogs& dialogs);
    ~TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

    std::unique_ptr<TMainWindow> MainWindow;
    std::unique_ptr<TComparisonWindow> TwoSpectraWindow;
    std::unique_ptr<TComparisonWindow> ThreeSpectraWindow;
    std::unique_ptr<TComparisonWindow> SixSpectraWindow;
};
