// An image control without a picture that answers a click: it draws nothing
// (the skin beneath shows the mark), and is clicked as any button is, by the
// left button pressed and released on it, or by assistive technology's press
// action. It takes no keyboard focus.
#pragma once

#include <QAbstractButton>

class ImageButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ImageButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
