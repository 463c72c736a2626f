#pragma once

#include <string>
#include <string_view>

// The separators a formatted number is written with, each a UTF-8 text of any
// length. The defaults are those of the C locale.
struct TNumberFormat {
    std::string DecimalPoint = ".";
    std::string GroupSeparator = ",";
    std::string NegativeSign = "-";
};

// Formats a number by a picture such as "#,##0.#####": "0" is a mandatory
// digit, "#" an optional one, "," asks for thousands grouping and "." marks
// the decimal point. Characters before the first and after the last picture
// character are copied as they stand. The separators written are those of
// `format`. The value is rounded to the number of decimals of the picture
// (at most 20); trailing optional zeros are dropped. Values of 1e18 and more
// in magnitude are written in scientific notation (up to 15 significant
// digits, "1.5E+20"), non-finite values as "NAN", "INF" and "-INF". The
// picture and the result are UTF-8.
std::string FormatFloat(std::string_view picture, double value, const TNumberFormat& format = {});

// A label of a logarithmic axis: FormatFloat's text, except for a value below the smallest
// decimal the picture shows (below 1e-5 for "#,##0.#####") that the picture would round by
// more than a millionth of itself: such a value is written in scientific notation with the
// fewest significant digits (at most six) that keep it to a millionth, and an exponent
// without leading zeros ("1E-6", "2.5E-7"), so that the decades below stay apart instead of
// all reading "0". The picture's literal text and the separators of `format` are kept.
std::string FormatLogLabel(std::string_view picture, double value, const TNumberFormat& format = {});
