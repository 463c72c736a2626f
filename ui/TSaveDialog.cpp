#include "ui/TSaveDialog.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

TSaveDialog::TSaveDialog(QString name, QString title, QList<TFileType> types)
    : Name(std::move(name)), Title(std::move(title)), Types(std::move(types))
{}

void TSaveDialog::Confirm(const QString& path, int type)
{
    Type = type >= 0 && type < Types.size() ? type : 0;
    // In the system's form, as the open-file dialogs give their files.
    const QString file = QDir::toNativeSeparators(path);
    const QFileInfo info(file);
    FileName = info.suffix().isEmpty() && !Types.isEmpty() ? file + QLatin1Char('.') + Types[Type].Suffix : file;
    InitialDir = QDir::toNativeSeparators(info.absolutePath());
}

int TSaveDialog::TypeOfFile() const
{
    const QString suffix = QFileInfo(FileName).suffix();
    for (int k = 0; k < Types.size(); ++k)
        if (suffix.compare(Types[k].Suffix, Qt::CaseInsensitive) == 0)
            return k;
    return Type;
}
