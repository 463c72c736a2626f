#include "chart/axis/TNumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
// Values from this magnitude on are written in scientific notation: a picture
// of plain digits would print hundreds of them.
constexpr double ScientificFrom = 1e18;
// More decimals than a double holds add nothing but zeros.
constexpr int MaxDecimals = 20;
// A logarithmic label kept to this fraction of itself tells its decade from the next.
constexpr double RelativeTolerance = 1e-6;

// The picture characters are ASCII, so they never match a byte of a UTF-8
// sequence in the literal text around them.
bool IsPictureChar(char c) { return c == '0' || c == '#' || c == ',' || c == '.'; }

struct TPicture {
    std::string Prefix;
    std::string Suffix;
    int MinIntDigits = 0;
    int MinDecimals = 0;
    int MaxDecimalsShown = 0;
    bool Grouping = false;
};

TPicture ParsePicture(std::string_view picture)
{
    TPicture parsed;
    std::size_t first = 0;
    while (first < picture.size() && !IsPictureChar(picture[first])) {
        ++first;
    }
    std::size_t end = picture.size();
    while (end > first && !IsPictureChar(picture[end - 1])) {
        --end;
    }
    parsed.Prefix = picture.substr(0, first);
    parsed.Suffix = picture.substr(end);
    bool inDecimals = false;
    for (std::size_t i = first; i < end; ++i) {
        const char c = picture[i];
        if (c == '.') {
            inDecimals = true;
        } else if (c == ',') {
            parsed.Grouping = parsed.Grouping || !inDecimals;
        } else if (inDecimals) {
            if (c == '0') {
                ++parsed.MinDecimals;
                ++parsed.MaxDecimalsShown;
            } else if (c == '#') {
                ++parsed.MaxDecimalsShown;
            }
        } else if (c == '0') {
            ++parsed.MinIntDigits;
        }
    }
    if (parsed.MaxDecimalsShown > MaxDecimals) {
        parsed.MaxDecimalsShown = MaxDecimals;
    }
    if (parsed.MinDecimals > parsed.MaxDecimalsShown) {
        parsed.MinDecimals = parsed.MaxDecimalsShown;
    }
    return parsed;
}

// magnitude < 1e18 and decimals <= 20: at most 19 + 1 + 20 characters.
std::string FixedDigits(double magnitude, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, magnitude);
    return text;
}

std::string GroupDigits(const std::string& digits, const std::string& separator)
{
    std::string grouped;
    const std::size_t count = digits.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            grouped += separator;
        }
        grouped += digits[i];
    }
    return grouped;
}

void ReplaceAll(std::string& text, char from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, 1, to);
    }
}

std::string Scientific(double value, const TNumberFormat& format)
{
    // |value| >= 1e18 and finite: "-d.ddddddddddddddE+ddd" fits easily.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14E", value);
    const std::string text = buffer;
    // Drop the trailing zeros of the mantissa: 1.00000000000000E+300 -> 1E+300.
    const std::size_t e = text.find('E');
    std::string mantissa = text.substr(0, e);
    const std::string exponent = text.substr(e);
    while (!mantissa.empty() && mantissa.back() == '0') {
        mantissa.pop_back();
    }
    if (!mantissa.empty() && mantissa.back() == '.') {
        mantissa.pop_back();
    }
    ReplaceAll(mantissa, '.', format.DecimalPoint);
    ReplaceAll(mantissa, '-', format.NegativeSign);
    return mantissa + exponent;
}
} // namespace

std::string FormatFloat(std::string_view picture, double value, const TNumberFormat& format)
{
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    const TPicture parsed = ParsePicture(picture);
    if (std::fabs(value) >= ScientificFrom) {
        return parsed.Prefix + Scientific(value, format) + parsed.Suffix;
    }

    const std::string fixed = FixedDigits(std::fabs(value), parsed.MaxDecimalsShown);
    const std::size_t point = fixed.find('.');
    std::string intDigits = fixed.substr(0, point);
    std::string decimals = point == std::string::npos ? std::string() : fixed.substr(point + 1);
    while (static_cast<int>(decimals.size()) > parsed.MinDecimals && decimals.back() == '0') {
        decimals.pop_back();
    }
    // "%.*f" always writes one integer digit; the picture decides how many stay.
    while (static_cast<int>(intDigits.size()) > parsed.MinIntDigits && intDigits.front() == '0') {
        intDigits.erase(0, 1);
    }
    if (static_cast<int>(intDigits.size()) < parsed.MinIntDigits) {
        intDigits.insert(0, static_cast<std::size_t>(parsed.MinIntDigits) - intDigits.size(), '0');
    }
    const bool isZero = fixed.find_first_of("123456789") == std::string::npos;

    std::string text;
    if (value < 0 && !isZero) {
        text += format.NegativeSign;
    }
    text += parsed.Grouping ? GroupDigits(intDigits, format.GroupSeparator) : intDigits;
    if (!decimals.empty()) {
        text += format.DecimalPoint;
        text += decimals;
    }
    if (text.empty() || text == format.NegativeSign) {
        text.assign(1, '0');
    }
    return parsed.Prefix + text + parsed.Suffix;
}

std::string FormatLogLabel(std::string_view picture, double value, const TNumberFormat& format)
{
    const std::string text = FormatFloat(picture, value, format);
    if (!std::isfinite(value) || value == 0.0) {
        return text;
    }
    const TPicture parsed = ParsePicture(picture);
    const double magnitude = std::fabs(value);
    const double unit = std::pow(10.0, -parsed.MaxDecimalsShown);
    // Powers of ten computed by repeated products may land a hair below the smallest decimal;
    // those the picture still writes exactly.
    const double shown = std::round(magnitude / unit) * unit;
    if (!(magnitude < unit * (1.0 - 1e-9)) || std::fabs(shown - magnitude) <= RelativeTolerance * magnitude) {
        return text;
    }
    char buffer[64];
    for (int digits = 0; digits <= 5; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*E", digits, value);
        if (std::fabs(std::strtod(buffer, nullptr) - value) <= RelativeTolerance * magnitude) {
            break;
        }
    }
    std::string mantissa = buffer;
    const std::size_t e = mantissa.find('E');
    const int exponent = std::atoi(mantissa.c_str() + e + 1);
    mantissa.erase(e);
    ReplaceAll(mantissa, '.', format.DecimalPoint);
    ReplaceAll(mantissa, '-', format.NegativeSign);
    return parsed.Prefix + mantissa + 'E' + std::to_string(exponent) + parsed.Suffix;
}
