#pragma once

// The program fixture of the main-window tests.

#include "tests/support/TScriptedDialogs.h"

#include "app/TMainWindow.h"
#include "app/TProgramWindows.h"

namespace testsupport {

// A fresh set of the program's windows, answered by scripted dialogs, with the main window
// shown and exposed.
struct TProgram {
    TProgram();

    TScriptedDialogs Dialogs;
    TProgramWindows Windows{Dialogs};
    TMainWindow& Main = *Windows.MainWindow;
};

} // namespace testsupport
