#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Building blocks shared by the program's windows: the design font, the kinds of controls the
// windows are made of, and the picture of the "&Close" button.

// The windows' font: the platform's sans-serif typeface, 11 pixels high.
QFont DesignFont(bool bold = false);

// A label sized to its text, its top left corner at `topLeft`.
QLabel* MakeLabel(QWidget* parent, const QString& caption, QPoint topLeft, bool bold);

// Sets a label's caption and sizes the label to it; its left edge stays.
void SetLabelCaption(QLabel* label, const QString& caption);

// A static text with a sunken border and bold font ("X = ", "Y = ").
QLabel* MakeStaticText(QWidget* parent, const QString& caption, const QRect& geometry);

// A push button of the given place and size.
QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry);

// The small open-door picture of the "&Close" buttons, with a greyed variant for the disabled
// state.
QIcon OpenDoorIcon();

// Moves a top-level window so that its frame is centred on its screen's available area.
void CentreOnScreen(QWidget& window);

// The face colour of the busy label: the colour of inactive window borders.
inline const QColor InactiveBorderColour{212, 208, 200};
