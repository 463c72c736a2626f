#pragma once

#include <QLocale>
#include <QString>

// Formats a number by a picture such as "#,##0.#####": "0" is a mandatory
// digit, "#" an optional one, "," asks for thousands grouping and "." marks
// the decimal point. Characters before the first and after the last picture
// character are copied as they stand. The decimal and grouping separators are
// those of `locale` (the system's number settings by default). The value is
// rounded to the number of decimals of the picture; trailing optional zeros
// are dropped. Values of 1e18 and more in magnitude are written in scientific
// notation, non-finite values as "NAN", "INF" and "-INF".
QString FormatFloat(const QString& format, double value, const QLocale& locale = QLocale());
