#include "clicklabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{ }

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
