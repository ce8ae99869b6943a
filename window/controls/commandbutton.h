// A command button that shows the keyboard focus, whenever it has it, by a
// dotted rectangle inside its face. The style's own sign of focus (a
// highlighted outline) is the same look that marks a default button, so on a
// default button it shows nothing; the button's look without focus is the
// style's, unchanged.
#pragma once

#include <QPushButton>

class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
