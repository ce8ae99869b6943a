#include "window/controls/commandbutton.h"

#include <QPainter>

namespace {

constexpr int kFocusInset = 3; // pixels between the button's edge and the rectangle

} // namespace

CommandButton::CommandButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{ }

void CommandButton::paintEvent(QPaintEvent *event)
{
    QPushButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
}
