// The fonts of the windows in the Windows build (chosen by app/CMakeLists.txt). The windows draw
// their texts in "Sans Serif" at fixed pixel sizes in a fixed layout; on Linux fontconfig gives
// DejaVu Sans for it. Windows has no DejaVu, and its own sans serif fonts are wider or narrower,
// which would move or cut the texts. So the program carries DejaVu Sans and DejaVu Sans Bold as
// resources and registers them when the application object starts, with "Sans Serif" standing for
// DejaVu Sans, and takes the Linux build's default font (Qt's generic Unix theme: Sans Serif,
// 9 points) for what sets no font of its own: menus, dialogs, message boxes.

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace {

void RegisterDesignFonts()
{
    // A QCoreApplication (a command without windows) has no font database.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    for (const char* file : {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}) {
        if (QFontDatabase::addApplicationFont(QString::fromLatin1(file)) < 0)
            qWarning("Cannot load the font %s; the texts are drawn in another font", file);
    }
    QFont::insertSubstitution(QStringLiteral("Sans Serif"), QStringLiteral("DejaVu Sans"));
    QGuiApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(RegisterDesignFonts)
