#include "app/ContactNotice.h"
#include "ui/TErrorBoundary.h"
#include "ui/TQtDialogs.h"
#include "app/TProgramWindows.h"
#include "app/TMainWindow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
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
