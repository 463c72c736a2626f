#pragma once

#include <QChar>
#include <QString>

// Fixed-point text of `value` with at most `precision` significant digits and exactly
// `decimals` decimal places (digits beyond the significant ones are shown as zeros), rounded
// once, to nearest. When the rounded value has more than `precision` digits before the point
// the text is in scientific notation instead ("1.234568E+08"). No thousands separators.
// Examples with precision 7, decimals 0: 4537.6 -> "4538"; precision 9, decimals 7:
// 0.000123456789 -> "0.0001235", 12345.678901 -> "12345.6789000".
QString FormatFixed(double value, int precision, int decimals, QChar decimalPoint);

// The read-out texts under a chart, with the decimal separator of the user's locale:
// X with precision 7 and no decimals, Y with precision 9 and 7 decimals.
QString ReadoutXText(double x);
QString ReadoutYText(double y);
