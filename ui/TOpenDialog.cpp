#include "ui/TOpenDialog.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

TOpenDialog::TOpenDialog(QString name, QString filterName, QString pattern, bool multiSelect)
    : TOpenDialog(std::move(name), {{std::move(filterName), std::move(pattern)}}, multiSelect)
{}

TOpenDialog::TOpenDialog(QString name, QList<TFilter> filters, bool multiSelect)
    : Name(std::move(name)), Filters(std::move(filters)), FilterName(Filters.value(0).Name),
      Pattern(Filters.value(0).Pattern), MultiSelect(multiSelect), FileName(Pattern)
{}

QString TOpenDialog::NameFilter() const { return FilterName + QStringLiteral(" (") + Pattern + QStringLiteral(")"); }

QStringList TOpenDialog::NameFilters() const
{
    QStringList filters;
    for (const TFilter& filter : Filters)
        filters << filter.Name + QStringLiteral(" (") + filter.Pattern + QStringLiteral(")");
    return filters;
}

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
