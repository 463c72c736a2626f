#include "app/ContactNotice.h"
#include "app/TMainWindow.h"
#include "app/TProgramWindows.h"
#include "ui/TErrorBoundary.h"
#include "ui/TQtDialogs.h"

#include "dsp/dspFloatControl.h"

#include "TulvoVersion.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <stdexcept>
#include <string_view>

namespace {

// The files to open. --help, --version and an unknown option are answered on stdout or stderr
// (in a message box where the program has no console) and end the program.
QStringList ParseArguments(const QCoreApplication& application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Spectral analysis of short WAV recordings.\n\n"
                       "With one recording (.wav) it shows its waveform; with one spectrum file (.spm) that\n"
                       "spectrum; with two, three or six spectrum files the window comparing them (four or\n"
                       "five open the six-spectrum window). Extensions are matched in any case."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("a recording or spectrum files to open"),
                                 QStringLiteral("[FILE...]"));
    parser.process(application);
    return parser.positionalArguments();
}

// Whether the arguments hold an option (before a "--", after which all are files). Every option
// ends the program with a text, which needs no display.
bool HasOption(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--")
            return false;
        if (argument.size() > 1 && argument.front() == '-')
            return true;
    }
    return false;
}

void SetIdentity()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(TulvoVersion));
}

} // namespace

int main(int argc, char* argv[])
{
    // The values the windows show and save from spectrum files are computed in the floating-point
    // state of tulvo-cli, which a Windows process may not start with. Where it cannot be set, the
    // batch refuses each recording and says why.
    try {
        dspFloatControl::SetExactFloatControl();
    } catch (const std::runtime_error&) {
    }
    if (HasOption(argc, argv)) {
        // Answered without connecting to a display: `tulvo --help` works over ssh and in scripts.
        QCoreApplication core(argc, argv);
        SetIdentity();
        ParseArguments(core);
    }
    QApplication application(argc, argv);
    SetIdentity();
    const QStringList files = ParseArguments(application);
    // Ties the windows to the installed desktop entry (Wayland's app id, the task bar's icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tulvo.tulvo"));
    // The icon theme's icon where the desktop has one, else the copy built into the program.
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("org.tulvo.tulvo"), QIcon(QStringLiteral(":/icons/org.tulvo.tulvo.svg"))));
    TQtDialogs dialogs;
    int result = 0;
    {
        TProgramWindows windows(dialogs);
        windows.MainWindow->Start(files);
        result = QApplication::exec();
    }
    // After the windows are gone, on about one end in ten: the contact notice, owned by no window.
    std::mt19937 generator = TimeSeededGenerator();
    if (ContactNoticeDue(generator))
        dialogs.Show(ContactNotice(), nullptr);
    return result;
}
