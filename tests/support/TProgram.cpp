#include "tests/support/TProgram.h"

#include <QTest>

namespace testsupport {

TProgram::TProgram()
{
    Main.show();
    if (!QTest::qWaitForWindowExposed(&Main))
        qWarning("main window not exposed");
}

} // namespace testsupport
