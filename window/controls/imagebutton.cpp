#include "window/controls/imagebutton.h"

ImageButton::ImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void ImageButton::paintEvent(QPaintEvent *) { }
