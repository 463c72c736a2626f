#include "chart/TNumberFormat.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace
{
// Values from this magnitude on are written in scientific notation: a picture
// of plain digits would print hundreds of them.
constexpr double ScientificFrom = 1e18;
// More decimals than a double holds add nothing but zeros.
constexpr int MaxDecimals = 20;

bool IsPictureChar(QChar c)
{
  return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',')
         || c == QLatin1Char('.');
}

struct TPicture
{
  QString Prefix;
  QString Suffix;
  int MinIntDigits = 0;
  int MinDecimals = 0;
  int MaxDecimalsShown = 0;
  bool Grouping = false;
};

TPicture ParsePicture(const QString& format)
{
  TPicture picture;
  int first = 0;
  while (first < format.size() && !IsPictureChar(format[first])) {
    ++first;
  }
  int last = static_cast<int>(format.size()) - 1;
  while (last >= first && !IsPictureChar(format[last])) {
    --last;
  }
  picture.Prefix = format.left(first);
  picture.Suffix = format.mid(last + 1);
  bool inDecimals = false;
  for (int i = first; i <= last; ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('.')) {
      inDecimals = true;
    } else if (c == QLatin1Char(',')) {
      picture.Grouping = picture.Grouping || !inDecimals;
    } else if (inDecimals) {
      if (c == QLatin1Char('0')) {
        ++picture.MinDecimals;
        ++picture.MaxDecimalsShown;
      } else if (c == QLatin1Char('#')) {
        ++picture.MaxDecimalsShown;
      }
    } else if (c == QLatin1Char('0')) {
      ++picture.MinIntDigits;
    }
  }
  if (picture.MaxDecimalsShown > MaxDecimals) {
    picture.MaxDecimalsShown = MaxDecimals;
  }
  if (picture.MinDecimals > picture.MaxDecimalsShown) {
    picture.MinDecimals = picture.MaxDecimalsShown;
  }
  return picture;
}

// magnitude < 1e18 and decimals <= 20: at most 19 + 1 + 20 characters.
std::string FixedDigits(double magnitude, int decimals)
{
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, magnitude);
  return text;
}

QString GroupDigits(const QString& digits, const QString& separator)
{
  QString grouped;
  const auto count = digits.size();
  for (qsizetype i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) {
      grouped += separator;
    }
    grouped += digits[i];
  }
  return grouped;
}

QString Scientific(double value, const QLocale& locale)
{
  QString text = QString::number(value, 'E', 14);
  // Drop the trailing zeros of the mantissa: 1.00000000000000E+300 -> 1E+300.
  const auto e = text.indexOf(QLatin1Char('E'));
  QString mantissa = text.left(e);
  const QString exponent = text.mid(e);
  while (mantissa.endsWith(QLatin1Char('0'))) {
    mantissa.chop(1);
  }
  if (mantissa.endsWith(QLatin1Char('.'))) {
    mantissa.chop(1);
  }
  mantissa.replace(QLatin1Char('.'), locale.decimalPoint());
  mantissa.replace(QLatin1Char('-'), locale.negativeSign());
  return mantissa + exponent;
}
} // namespace

QString FormatFloat(const QString& format, double value, const QLocale& locale)
{
  if (std::isnan(value)) {
    return QStringLiteral("NAN");
  }
  if (std::isinf(value)) {
    return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
  }
  const TPicture picture = ParsePicture(format);
  if (std::fabs(value) >= ScientificFrom) {
    return picture.Prefix + Scientific(value, locale) + picture.Suffix;
  }

  const std::string fixed = FixedDigits(std::fabs(value), picture.MaxDecimalsShown);
  const auto point = fixed.find('.');
  QString intDigits = QString::fromLatin1(fixed.substr(0, point));
  QString decimals = point == std::string::npos ? QString() : QString::fromLatin1(fixed.substr(point + 1));
  while (decimals.size() > picture.MinDecimals && decimals.endsWith(QLatin1Char('0'))) {
    decimals.chop(1);
  }
  // "%.*f" always writes one integer digit; the picture decides how many stay.
  while (intDigits.size() > picture.MinIntDigits && intDigits.startsWith(QLatin1Char('0'))) {
    intDigits.remove(0, 1);
  }
  while (intDigits.size() < picture.MinIntDigits) {
    intDigits.prepend(QLatin1Char('0'));
  }
  const bool isZero = fixed.find_first_of("123456789") == std::string::npos;

  QString text;
  if (value < 0 && !isZero) {
    text += locale.negativeSign();
  }
  text += picture.Grouping ? GroupDigits(intDigits, locale.groupSeparator()) : intDigits;
  if (!decimals.isEmpty()) {
    text += locale.decimalPoint();
    text += decimals;
  }
  if (text.isEmpty() || text == locale.negativeSign()) {
    text = QStringLiteral("0");
  }
  return picture.Prefix + text + picture.Suffix;
}
