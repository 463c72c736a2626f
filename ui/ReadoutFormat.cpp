#include "ui/ReadoutFormat.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Scientific text with `precision` significant digits, trailing zeros of the mantissa dropped
// and an exponent of at least two digits with its sign: 1.234568E+08.
std::string Scientific(double value, int precision)
{
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision - 1).ptr;
    std::string text(buffer, end);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    if (mantissa.find('.') != std::string::npos) {
        mantissa.erase(mantissa.find_last_not_of('0') + 1);
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    const char sign = exponent.front();
    std::string digits = exponent.substr(1);
    while (digits.size() < 2)
        digits.insert(digits.begin(), '0');
    return mantissa + 'E' + sign + digits;
}

// Decimal exponent of the leading digit after rounding to `precision` significant digits
// (9999999.7 rounded to 7 digits is 1.000000e7, exponent 7).
int RoundedExponent(double value, int precision)
{
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, precision - 1).ptr;
    const std::string text(buffer, end);
    return std::stoi(text.substr(text.find('e') + 1));
}

} // namespace

QString FormatFixed(double value, int precision, int decimals, QChar decimalPoint)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 18);
    decimals = std::clamp(decimals, 0, 18);

    std::string text;
    if (value == 0.0) {
        text = "0";
        if (decimals > 0)
            text += '.' + std::string(decimals, '0');
    } else {
        const int exponent = RoundedExponent(value, precision);
        if (exponent + 1 > precision) {
            text = Scientific(value, precision);
        } else {
            // One rounding at whichever comes first: the last significant digit or the last
            // decimal place.
            const int kept = std::min(decimals, precision - 1 - exponent);
            char buffer[400];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, kept).ptr;
            text.assign(buffer, end);
            if (decimals > kept) {
                if (kept == 0)
                    text += '.';
                text.append(decimals - kept, '0');
            }
            // A value that rounds to zero shows no sign.
            if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
                text.erase(0, 1);
        }
    }
    QString result = QString::fromStdString(text);
    result.replace(QLatin1Char('.'), decimalPoint);
    return result;
}

QStringList ReadoutForms(double value, int precision, int decimals, QChar decimalPoint)
{
    QStringList forms;
    const auto add = [&forms](const QString& form) {
        if (!forms.contains(form))
            forms.append(form);
    };
    const auto trimmed = [decimalPoint](QString text) {
        if (text.contains(decimalPoint) && !text.contains(QLatin1Char('E'))) {
            while (text.endsWith(QLatin1Char('0')))
                text.chop(1);
            if (text.endsWith(decimalPoint))
                text.chop(1);
        }
        return text;
    };
    add(FormatFixed(value, precision, decimals, decimalPoint));
    if (!std::isfinite(value))
        return forms;
    precision = std::clamp(precision, 1, 18);
    // Fewer decimals only while the text still tells the value: exactly, or to two significant
    // digits at least (0.000123 may read 0.00012, never 0.0001 or 0).
    const auto tells = [value, decimalPoint](const QString& text) {
        QString digits = text;
        digits.remove(decimalPoint).remove(QLatin1Char('-'));
        while (digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        QString plain = text;
        plain.replace(decimalPoint, QLatin1Char('.'));
        return digits.size() >= 2 || plain.toDouble() == value;
    };
    for (int kept = std::clamp(decimals, 0, 18); kept >= 0; --kept) {
        const QString text = trimmed(FormatFixed(value, precision, kept, decimalPoint));
        if (tells(text))
            add(text);
    }
    if (value != 0.0) {
        for (int digits = std::min(precision, 6); digits >= 2; --digits) {
            QString text = QString::fromStdString(Scientific(value, digits));
            text.replace(QLatin1Char('.'), decimalPoint);
            add(text);
        }
    }
    return forms;
}

QStringList ReadoutXForms(double x) { return ReadoutForms(x, 7, 0, QLocale().decimalPoint().front()); }

QStringList ReadoutYForms(double y) { return ReadoutForms(y, 9, 7, QLocale().decimalPoint().front()); }

QStringList ReadoutZForms(double z) { return ReadoutForms(z, 7, 2, QLocale().decimalPoint().front()); }

QString ReadoutXText(double x) { return FormatFixed(x, 7, 0, QLocale().decimalPoint().front()); }

QString ReadoutYText(double y) { return FormatFixed(y, 9, 7, QLocale().decimalPoint().front()); }

QStringList ReadoutLimitsForms(double lower, double upper)
{
    if (std::isnan(lower) && std::isnan(upper))
        return {QStringLiteral("нет")};
    const auto forms = [](double limit) {
        return std::isnan(limit) ? QStringList{QStringLiteral("—")} : ReadoutYForms(limit);
    };
    const QStringList lowerForms = forms(lower);
    const QStringList upperForms = forms(upper);
    QStringList pairs;
    for (qsizetype k = 0; k < std::max(lowerForms.size(), upperForms.size()); ++k)
        pairs << lowerForms[std::min(k, lowerForms.size() - 1)] + QStringLiteral(" … ") +
                     upperForms[std::min(k, upperForms.size() - 1)];
    return pairs;
}
