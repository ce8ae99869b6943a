// A label that is clicked like a link: by the left mouse button, or, once Tab
// has brought the keyboard focus to it, by Space or Enter. It draws its
// caption as a transparent label does, and shows the focus only while it has
// it. To assistive technology it is a button with a press action.
#pragma once

#include <QAbstractButton>

class ClickLabel : public QAbstractButton
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

    // The extent of the caption in the label's font, as for any label.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
