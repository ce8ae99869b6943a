#include "clicklabel.h"

#include "click.h"

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
    if (isClick(*this, *event))
        Q_EMIT clicked();
}
