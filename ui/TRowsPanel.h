#pragma once

#include "ui/TPanel.h"

// A panel that stacks up to three widgets in rows inside its one-pixel bevel, each as wide as
// the inside of the panel: the top one along the top edge and the bottom one along the bottom
// edge, each one row high, and the middle one in the space left between them. One row is the
// panel height divided by the number of rows (integer division) minus one pixel; the middle
// widget takes the pixels that the division leaves over. Hidden widgets take no space and are
// not moved. The panel lays its widgets out again whenever it changes size.
//
// A 360-pixel panel with three rows: top 119 pixels at y 1, middle 120, bottom 119 ending at
// y 358; with two rows and no bottom widget: top 179, middle 179; with one row: top 359.
class TRowsPanel : public TPanel {
public:
    explicit TRowsPanel(QWidget* parent);

    // The widgets to stack, children of this panel; any of them may be null.
    void Stack(QWidget* top, QWidget* middle, QWidget* bottom);

    // The height of one of `rows` rows (1 or more) of a panel `panelHeight` pixels high:
    // panelHeight div rows - 1, not below 0.
    static int RowHeight(int panelHeight, int rows);
    // The height of one row of this panel as it is now.
    int RowHeight() const;

    int Rows() const { return rows_; }
    // Sets the number of rows (1 to 3) and lays the widgets out with ApplyRows.
    void SetRows(int rows);
    // Makes the top and the bottom widget one row high, then places them with Align.
    void ApplyRows();
    // Places the visible widgets for the heights they have now: the top and the bottom one
    // keep their heights, the middle one fills the space between them.
    void Align();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* top_ = nullptr;
    QWidget* middle_ = nullptr;
    QWidget* bottom_ = nullptr;
    int rows_ = 1;
};
