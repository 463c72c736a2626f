#pragma once

#include "TScriptedDialogs.h"

#include "app/TTulvoForms.h"
#include "app/uTulvo.h"

#include <QTest>

// A fresh set of the program's windows, answered by scripted dialogs, the main window shown.
struct TProgram
{
    TProgram()
    {
        fm.show();
        if (!QTest::qWaitForWindowExposed(&fm))
            qWarning("main window not exposed");
    }
    TScriptedDialogs dialogs;
    TTulvoForms forms{dialogs};
    TfmTulvo& fm = *forms.fmTulvo;
};
