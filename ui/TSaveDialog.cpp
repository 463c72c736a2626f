#include "ui/TSaveDialog.h"

#include <QFileInfo>

#include <utility>

TSaveDialog::TSaveDialog(QString name, QString title, QList<TFileType> types)
    : Name(std::move(name)), Title(std::move(title)), Types(std::move(types))
{}

void TSaveDialog::Confirm(const QString& path, int type)
{
    Type = type >= 0 && type < Types.size() ? type : 0;
    const QFileInfo info(path);
    FileName = info.suffix().isEmpty() && !Types.isEmpty() ? path + QLatin1Char('.') + Types[Type].Suffix : path;
    InitialDir = info.absolutePath();
}

int TSaveDialog::TypeOfFile() const
{
    const QString suffix = QFileInfo(FileName).suffix();
    for (int k = 0; k < Types.size(); ++k)
        if (suffix.compare(Types[k].Suffix, Qt::CaseInsensitive) == 0)
            return k;
    return Type;
}
