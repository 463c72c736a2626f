#pragma once

#include <QFrame>

// A panel: a frame with a one-pixel raised bevel. Its children are placed by the window that
// owns it, or by a panel class built on it (TRowsPanel, TReadoutStrip).
class TPanel : public QFrame {
public:
    explicit TPanel(QWidget* parent);
};
