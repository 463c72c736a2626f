#include "ui/TErrorBoundary.h"

#include "core/base/TulvoErrors.h"
#include "ui/IDialogs.h"

#include <QFile>

#include <exception>

TErrorBoundary::TErrorBoundary(IDialogs& dialogs) : dialogs_(dialogs) {}

void TErrorBoundary::Run(QWidget* owner, const std::function<void()>& handler) const
{
    try {
        handler();
    } catch (const std::exception& error) {
        TMessageBox box;
        box.Icon = QMessageBox::Critical;
        box.Caption = QString::fromLatin1(ApplicationTitle);
        box.Text = QString::fromStdString(ErrorBoxText(error.what()));
        box.Button = QStringLiteral("OK");
        box.InformativeText = QFile::decodeName(QByteArray::fromStdString(ErrorFilePath(error)));
        dialogs_.Show(box, owner);
    }
}
