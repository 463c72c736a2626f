#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

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

// The texts a read-out may show for `value` when FormatFixed's text does not fit, from the
// most digits to the fewest: FormatFixed's text itself, then without the zeros it pads its decimals with (the
// same value, "12345.6789000" -> "12345.6789"), then rounded to fewer and fewer decimals, down
// to whole units ("12345.68", "12345.7", "12346") while at least two significant digits or the
// exact value remain (0.000123456789: "0.000123", "0.00012", not "0.0001" or "0"), then in scientific notation with six down
// to two significant digits ("1.2346E+04" ... "1.2E+04"). No text appears twice; NaN and
// infinities have only their one text.
QStringList ReadoutForms(double value, int precision, int decimals, QChar decimalPoint);

// The texts a read-out of a pair of limits may show, from the most digits to the fewest: the
// lower and the upper limit as ReadoutYForms shows a value, joined by " … ", the k-th form
// pairing the k-th forms of each (the last of the shorter list repeated). A NaN limit is no
// limit on that side, shown as "—"; with neither, the one form "нет".
QStringList ReadoutLimitsForms(double lower, double upper);

// ReadoutForms with the read-out's precision and decimals (those of ReadoutXText and
// ReadoutYText) and the decimal separator of the user's locale.
QStringList ReadoutXForms(double x);
QStringList ReadoutYForms(double y);

// The read-out's third value, a level in dB: ReadoutForms with precision 7 and two decimals,
// in the decimal separator of the user's locale ("-23.45").
QStringList ReadoutZForms(double z);
