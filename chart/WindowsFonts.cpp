// The fonts of the windows in the Windows build (chosen by app/CMakeLists.txt). The windows draw
// their texts in "Sans Serif" at fixed pixel sizes in a fixed layout; on Linux fontconfig gives
// DejaVu Sans for it. Windows has no DejaVu, and its own sans serif fonts are wider or narrower,
// which would move or cut the texts. So the program carries DejaVu Sans and DejaVu Sans Bold as
// resources and registers them when the application object starts, with "Sans Serif" standing for
// DejaVu Sans, and takes the Linux build's default font (Qt's generic Unix theme: Sans Serif,
// 9 points) for what sets no font of its own: menus, dialogs, message boxes.
//
// Two more differences are taken away:
// - Windows' theme gives menus, message boxes, tool tips and the like fonts of their own ("MS
//   Shell Dlg", 8 points), which the Linux theme does not. Qt reads them after this start-up code
//   and again when the system's settings change; they are dropped when the first widget is made
//   and after every change of the theme, so that those widgets take the default font as on Linux.
// - Text advances are kept fractional, hinted only vertically, as fontconfig's default on Linux
//   has them: fully hinted advances, Windows' default, make a text a pixel or more wider.

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>

namespace {

// Drops the theme's fonts of widget classes whenever Qt may have read them.
class TThemeFontsFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if ((event->type() == QEvent::Create || event->type() == QEvent::ThemeChange) && HasClassFonts())
            QApplication::setFont(QApplication::font()); // without a class: clears the class fonts
        return QObject::eventFilter(receiver, event);
    }

private:
    static bool HasClassFonts()
    {
        const QFont font = QApplication::font();
        for (const char* name : {"QMenu", "QMenuBar", "QMessageBox", "QTipLabel"})
            if (QApplication::font(name) != font)
                return true;
        return false;
    }
};

void RegisterDesignFonts()
{
    // A QCoreApplication (a command without windows) has no font database.
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (application == nullptr)
        return;
    for (const char* file : {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0)
            qWarning("Cannot load the font %s; the texts are drawn in another font", file);
    }
    QFont::insertSubstitution(QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont font(QStringLiteral("Sans Serif"), 9);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
    application->installEventFilter(new TThemeFontsFilter(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(RegisterDesignFonts)
