#include "ui/LocalPath.h"

#include <QFile>

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
