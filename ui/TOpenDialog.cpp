#include "ui/TOpenDialog.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

TOpenDialog::TOpenDialog(QString name, QString filterName, QString pattern, bool multiSelect)
    : Name(std::move(name)), FilterName(std::move(filterName)), Pattern(std::move(pattern)), MultiSelect(multiSelect),
      FileName(Pattern)
{}

QString TOpenDialog::NameFilter() const { return FilterName + QStringLiteral(" (") + Pattern + QStringLiteral(")"); }

void TOpenDialog::Confirm(const QStringList& files)
{
    // The program names files as the system does ('\' on Windows), in its messages and tables
    // as tulvo-cli does; Qt's dialogs give '/'.
    Files.clear();
    for (const QString& file : files)
        Files << QDir::toNativeSeparators(file);
    FileName = Files.front();
    InitialDir = QDir::toNativeSeparators(QFileInfo(FileName).absolutePath());
}
