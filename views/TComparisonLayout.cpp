#include "views/TComparisonLayout.h"

namespace {

// The spectra's colours by file, the same in every comparison window: red, green, dark blue
// (pure blue when overlaid), purple, black and brown.
const TSpectrumColours SpectrumColours[6] = {
    {QColor(255, 0, 0), QColor(255, 0, 0)}, {QColor(0, 128, 0), QColor(0, 128, 0)},
    {QColor(0, 0, 160), QColor(0, 0, 255)}, {QColor(128, 0, 64), QColor(128, 0, 64)},
    {QColor(0, 0, 0), QColor(0, 0, 0)},     {QColor(128, 64, 0), QColor(128, 64, 0)},
};

std::vector<TSpectrumColours> FirstColours(int count)
{
    return {std::begin(SpectrumColours), std::begin(SpectrumColours) + count};
}

const QString SpectrumTitle = QStringLiteral("С П Е К Т Р");

} // namespace

QRect TComparisonLayout::ColumnRect(int column, QSize client, bool overlaid) const
{
    const int bottom = client.height() - StripHeight;
    if (overlaid)
        return column == 0 ? QRect(0, 0, client.width(), bottom - 1) : QRect();
    if (Columns == 1)
        return QRect(0, 0, client.width(), bottom - 1);
    const int width = (client.width() + 8) / 2 - 4;
    return column == 0 ? QRect(0, 0, width, bottom - 1) : QRect(client.width() - width, 0, width, bottom);
}

QRect TComparisonLayout::StripRect(QSize client) const
{
    return QRect(0, client.height() - StripHeight, client.width() - StripInset, StripHeight);
}

TComparisonLayout TwoSpectraLayout()
{
    return {QStringLiteral("TwoSpectraWindow"),
            QStringLiteral("Два спектра"),
            1,
            2,
            FirstColours(2),
            SpectrumTitle,
            {QSize(632, 72), false, QRect(16, 22, 75, 25), QRect(135, 24, 27, 17), QPoint(167, 26),
             QRect(262, 24, 27, 17), QPoint(294, 24)},
            QRect(382, 21, 75, 28),
            QRect(386, 24, 75, 25),
            QRect(516, 20, 75, 25),
            0};
}

TComparisonLayout ThreeSpectraLayout()
{
    return {QStringLiteral("ThreeSpectraWindow"),
            QStringLiteral("Три спектра"),
            1,
            3,
            FirstColours(3),
            SpectrumTitle,
            {QSize(631, 72), false, QRect(16, 22, 75, 25), QRect(135, 24, 27, 17), QPoint(167, 26),
             QRect(262, 24, 27, 17), QPoint(294, 24)},
            QRect(381, 21, 75, 28),
            QRect(385, 24, 75, 25),
            QRect(515, 20, 75, 25),
            1};
}

TComparisonLayout SixSpectraLayout()
{
    return {QStringLiteral("SixSpectraWindow"),
            QStringLiteral("Спектры"),
            2,
            3,
            FirstColours(6),
            QStringLiteral("О Б Щ И Й   С П Е К Т Р"),
            {QSize(632, 72), false, QRect(16, 22, 75, 25), QRect(135, 24, 27, 17), QPoint(167, 26),
             QRect(263, 24, 27, 17), QPoint(295, 24)},
            QRect(382, 21, 75, 28),
            QRect(386, 22, 75, 25),
            QRect(515, 20, 75, 25),
            0};
}
