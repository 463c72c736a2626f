#pragma once

#include <QString>

#include <string>

// The path of a file as the Qt-free code takes it (core/, the platform layer): the bytes of
// QFile::encodeName, UTF-8 in the program's UTF-8 locale and, on Windows, its UTF-8 code page.
std::string LocalPath(const QString& path);
