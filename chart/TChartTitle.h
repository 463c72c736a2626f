#pragma once

#include <QColor>
#include <QStringList>

class TChart;

// The chart title: lines of text drawn centred above the plot area, in blue.
class TChartTitle {
public:
    explicit TChartTitle(TChart* chart);

    // All lines, each followed by "\n".
    QString Text() const;
    // Replaces all lines: the text is split at line breaks ("\r\n", "\n" or
    // "\r"); a break at the very end does not start another line.
    void SetText(const QString& text);
    const QStringList& Lines() const { return lines_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    // True when the title is visible and one of its lines holds text.
    bool HasText() const;

private:
    TChart* chart_;
    QStringList lines_{QString()};
    bool visible_ = true;
    QColor color_ = Qt::blue;
};
