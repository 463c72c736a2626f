#include "ui/WindowStyle.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

QFont DesignFont(bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& caption, QPoint topLeft, bool bold)
{
    auto* label = new QLabel(caption, parent);
    label->setFont(DesignFont(bold));
    label->move(topLeft);
    label->adjustSize();
    return label;
}

void SetLabelCaption(QLabel* label, const QString& caption)
{
    const QPoint topLeft = label->pos();
    label->setText(caption);
    label->adjustSize();
    label->move(topLeft);
}

QLabel* MakeStaticText(QWidget* parent, const QString& caption, const QRect& geometry)
{
    auto* text = new QLabel(caption, parent);
    text->setFont(DesignFont(true));
    text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    text->setLineWidth(1);
    text->setIndent(1);
    text->setGeometry(geometry);
    return text;
}

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setFont(DesignFont());
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

namespace {

// A door frame with its door swung open towards the viewer, drawn on 16 x 16 pixels.
QPixmap DoorPixmap(const QColor& frame, const QColor& opening, const QColor& door, const QColor& knob)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(frame);
    painter.setBrush(opening);
    painter.drawRect(5, 1, 9, 13); // the door frame and the dark opening
    QPainterPath leaf;             // the open door in perspective
    leaf.moveTo(5, 1);
    leaf.lineTo(1, 3);
    leaf.lineTo(1, 15);
    leaf.lineTo(5, 14);
    leaf.closeSubpath();
    painter.setBrush(door);
    painter.drawPath(leaf);
    painter.setPen(knob);
    painter.drawPoint(2, 8);
    painter.drawPoint(2, 9);
    return pixmap;
}

} // namespace

QIcon OpenDoorIcon()
{
    QIcon icon;
    icon.addPixmap(DoorPixmap(QColor(64, 32, 0), QColor(0, 0, 0), QColor(200, 128, 48), QColor(255, 255, 0)),
                   QIcon::Normal);
    icon.addPixmap(
        DoorPixmap(QColor(128, 128, 128), QColor(160, 160, 160), QColor(212, 208, 200), QColor(128, 128, 128)),
        QIcon::Disabled);
    return icon;
}

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = window.frameGeometry().size();
    window.move(area.center().x() - frame.width() / 2 + 1, area.center().y() - frame.height() / 2 + 1);
}
