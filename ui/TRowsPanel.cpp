#include "ui/TRowsPanel.h"

#include <algorithm>

TRowsPanel::TRowsPanel(QWidget* parent) : TPanel(parent) {}

void TRowsPanel::Stack(QWidget* top, QWidget* middle, QWidget* bottom)
{
    top_ = top;
    middle_ = middle;
    bottom_ = bottom;
}

int TRowsPanel::RowHeight(int panelHeight, int rows) { return std::max(0, panelHeight / rows - 1); }

int TRowsPanel::RowHeight() const { return RowHeight(height(), rows_); }

void TRowsPanel::SetRows(int rows)
{
    rows_ = rows;
    ApplyRows();
}

void TRowsPanel::ApplyRows()
{
    const int rowHeight = RowHeight();
    for (QWidget* edge : {top_, bottom_})
        if (edge)
            edge->resize(edge->width(), rowHeight);
    Align();
}

void TRowsPanel::Align()
{
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    int y = inner.top();
    int yEnd = inner.bottom() + 1;
    if (top_ && top_->isVisibleTo(this)) {
        top_->setGeometry(inner.left(), y, inner.width(), top_->height());
        y += top_->height();
    }
    if (bottom_ && bottom_->isVisibleTo(this)) {
        yEnd -= bottom_->height();
        bottom_->setGeometry(inner.left(), yEnd, inner.width(), bottom_->height());
    }
    if (middle_ && middle_->isVisibleTo(this))
        middle_->setGeometry(inner.left(), y, inner.width(), std::max(0, yEnd - y));
}

void TRowsPanel::resizeEvent(QResizeEvent* event)
{
    TPanel::resizeEvent(event);
    ApplyRows();
}
