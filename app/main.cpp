#include "app/ContactNotice.h"
#include "app/TMainWindow.h"
#include "app/TProgramWindows.h"
#include "ui/TErrorBoundary.h"
#include "ui/TQtDialogs.h"

#include "TulvoVersion.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(TulvoVersion));
    // Ties the windows to the installed desktop entry (Wayland's app id, the task bar's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tulvo.tulvo"));
    // The icon theme's icon where the desktop has one, else the copy built into the program.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("org.tulvo.tulvo"), QIcon(QStringLiteral(":/icons/org.tulvo.tulvo.svg"))));
    TQtDialogs dialogs;
    int result = 0;
    {
        TProgramWindows windows(dialogs);
        windows.MainWindow->show();
        result = QApplication::exec();
    }
    // After the windows are gone, on about one end in ten: the contact notice, owned by no window.
    std::mt19937 generator = TimeSeededGenerator();
    if (ContactNoticeDue(generator))
        dialogs.Show(ContactNotice(), nullptr);
    return result;
}
