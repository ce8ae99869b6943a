#include "window/controls/imagearea.h"

#include <QMouseEvent>

ImageArea::ImageArea(QAccessible::Role role, QWidget *parent)
    : QWidget(parent)
    , m_role(role)
{ }

void ImageArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown(event->button(), event->modifiers(), event->position());
}
