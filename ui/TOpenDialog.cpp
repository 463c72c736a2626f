#include "ui/TOpenDialog.h"

#include <QFileInfo>

#include <utility>

TOpenDialog::TOpenDialog(QString name, QString filterName, QString pattern, bool multiSelect)
    : Name(std::move(name)), FilterName(std::move(filterName)), Pattern(std::move(pattern)), MultiSelect(multiSelect),
      FileName(Pattern)
{}

QString TOpenDialog::NameFilter() const { return FilterName + QStringLiteral(" (") + Pattern + QStringLiteral(")"); }

void TOpenDialog::Confirm(const QStringList& files)
{
    Files = files;
    FileName = files.front();
    InitialDir = QFileInfo(FileName).absolutePath();
}
