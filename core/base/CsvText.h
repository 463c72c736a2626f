#pragma once

#include <string>
#include <string_view>

// Pieces of the CSV that tulvo-cli and the windows write: fields quoted only
// when they must be (a comma, a quote or a line break inside), numbers always
// with a '.' decimal point whatever the locale.

// field as one CSV field.
std::string CsvField(std::string_view field);

// The shortest text that reads back as the same single value ("0.00125",
// "3.5e-07").
std::string FormatSingle(float value);

// The shortest text that reads back as the same double ("0.01953125").
std::string FormatShortest(double value);

// value with exactly decimals digits after a '.', rounded to nearest ("3.010"
// for 3.0103 and 3); "-0.000" is written "0.000". NaN gives an empty field.
std::string FormatFixed(double value, int decimals);
