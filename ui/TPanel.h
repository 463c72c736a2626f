#pragma once

#include <QFrame>

#include <functional>

// A panel: a frame with a one-pixel raised bevel. Its children are placed by the window's
// own layout rules; OnResize runs whenever the panel changes size (the window's resize
// handler of that panel, e.g. pa1Resize).
class TPanel : public QFrame
{
public:
    explicit TPanel(QWidget* parent);

    std::function<void()> OnResize;

protected:
    void resizeEvent(QResizeEvent* event) override;
};
