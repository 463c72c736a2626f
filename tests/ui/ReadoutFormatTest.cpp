// The read-out texts under the charts: fixed-point with a precision and a number of decimals,
// scientific when the integer part needs more digits than the precision, the locale's
// decimal separator; the shorter forms of a text that does not fit.
#include "ui/ReadoutFormat.h"

#include <QLocale>
#include <QTest>

class TReadoutFormatTest : public QObject {
    Q_OBJECT

private slots:
    void formatFixed_data();
    void formatFixed();
    void readoutUsesLocaleSeparator();
    void shorterForms_data();
    void shorterForms();
    void limitsForms_data();
    void limitsForms();
};

// clang-format off
void TReadoutFormatTest::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");

    // The three examples of the read-out.
    QTest::newRow("x_4537_6") << 4537.6 << 7 << 0 << "4538";
    QTest::newRow("y_0_000123456789") << 0.000123456789 << 9 << 7 << "0.0001235";
    QTest::newRow("y_12345_678901") << 12345.678901 << 9 << 7 << "12345.6789000";
    // Whole hertz of the band, and values that need no rounding.
    QTest::newRow("x_1000") << 1000.0 << 7 << 0 << "1000";
    QTest::newRow("x_9999999_4_seven_digits") << 9999999.4 << 7 << 0 << "9999999";
    QTest::newRow("y_exactly_nine_digits") << 123456789.25 << 9 << 7 << "123456789.0000000";
    // Digits beyond the precision are shown as zeros, rounded once.
    QTest::newRow("y_rounded_at_ninth_digit") << 1.23456789876 << 9 << 7 << "1.2345679";
    QTest::newRow("y_rounded_at_seventh_decimal") << 0.123456789876 << 9 << 7 << "0.1234568";
    QTest::newRow("y_sig_before_decimals") << 1234.56789012 << 9 << 7 << "1234.5678900";
    // More integer digits than the precision: scientific.
    QTest::newRow("x_eight_digits") << 12345678.0 << 7 << 0 << "1.234568E+07";
    QTest::newRow("x_rounds_up_to_eight_digits") << 9999999.7 << 7 << 0 << "1E+07";
    QTest::newRow("y_ten_digits") << 1234567890.5 << 9 << 7 << "1.23456789E+09";
    // Signs and zero.
    QTest::newRow("x_negative") << -4537.6 << 7 << 0 << "-4538";
    QTest::newRow("y_negative") << -0.5 << 9 << 7 << "-0.5000000";
    QTest::newRow("y_negative_rounds_to_zero") << -1e-9 << 9 << 7 << "0.0000000";
    QTest::newRow("x_zero") << 0.0 << 7 << 0 << "0";
    QTest::newRow("y_zero") << 0.0 << 9 << 7 << "0.0000000";
    QTest::newRow("y_tiny_positive") << 4e-12 << 9 << 7 << "0.0000000";
}
// clang-format on

void TReadoutFormatTest::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(FormatFixed(value, precision, decimals, QLatin1Char('.')), text);
}

void TReadoutFormatTest::readoutUsesLocaleSeparator()
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QCOMPARE(ReadoutYText(0.000123456789), QStringLiteral("0,0001235"));
    QCOMPARE(ReadoutYText(12345.678901), QStringLiteral("12345,6789000"));
    QCOMPARE(ReadoutXText(4537.6), QStringLiteral("4538"));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ReadoutYText(0.000123456789), QStringLiteral("0.0001235"));
    QLocale::setDefault(saved);
}

// clang-format off
void TReadoutFormatTest::shorterForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QStringList>("forms");
    QTest::newRow("padding_zeros_first") << 10185.1667 << 7 << QStringList{
        "10185.1667000", "10185.1667", "10185.167", "10185.17", "10185.2", "10185",
        "1.01852E+04", "1.0185E+04", "1.019E+04", "1.02E+04", "1E+04"};
    QTest::newRow("small") << 0.000123456789 << 7 << QStringList{
        "0.0001235", "0.000123", "0.00012", "1.23457E-04", "1.2346E-04", "1.235E-04", "1.23E-04",
        "1.2E-04"};
    QTest::newRow("whole_hertz") << 4537.6 << 0 << QStringList{
        "4538", "4.5376E+03", "4.538E+03", "4.54E+03", "4.5E+03"};
    QTest::newRow("zero") << 0.0 << 7 << QStringList{"0.0000000", "0"};
    QTest::newRow("exact_digit") << -5.0 << 7 << QStringList{"-5.0000000", "-5", "-5E+00"};
    QTest::newRow("beyond_the_precision") << 1234567890.5 << 7 << QStringList{
        "1.23456789E+09", "1.23457E+09", "1.2346E+09", "1.235E+09", "1.23E+09", "1.2E+09"};
    QTest::newRow("nan") << qQNaN() << 7 << QStringList{"NAN"};
}
// clang-format on

void TReadoutFormatTest::shorterForms()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QStringList, forms);
    QCOMPARE(ReadoutForms(value, decimals == 0 ? 7 : 9, decimals, QLatin1Char('.')), forms);
}

// clang-format off
void TReadoutFormatTest::limitsForms_data()
{
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<QStringList>("forms");
    QTest::newRow("both, the shorter list's last form kept") << 0.25 << 0.000123456789 << QStringList{
        "0.2500000 … 0.0001235", "0.25 … 0.000123", "2.5E-01 … 0.00012", "2.5E-01 … 1.23457E-04",
        "2.5E-01 … 1.2346E-04", "2.5E-01 … 1.235E-04", "2.5E-01 … 1.23E-04", "2.5E-01 … 1.2E-04"};
    QTest::newRow("no lower limit") << qQNaN() << 0.5 << QStringList{"— … 0.5000000", "— … 0.5", "— … 5E-01"};
    QTest::newRow("no limits") << qQNaN() << qQNaN() << QStringList{"нет"};
}
// clang-format on

void TReadoutFormatTest::limitsForms()
{
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(QStringList, forms);
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ReadoutLimitsForms(lower, upper), forms);
    QLocale::setDefault(saved);
}

QTEST_GUILESS_MAIN(TReadoutFormatTest)
#include "ReadoutFormatTest.moc"
