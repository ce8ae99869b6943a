#include "imagearea.h"

#include <QMouseEvent>

ImageArea::ImageArea(QWidget *parent)
    : QWidget(parent)
{ }

void ImageArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown(event->button(), event->modifiers(), event->position());
}

void ImageArea::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
