// Says a text to screen readers without showing it on screen: an empty
// notification, shown anew with each text, which a screen reader reads out
// as it appears. Sighted users see nothing and the focus stays where it is.
#pragma once

#include <QWidget>

class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent = nullptr);

    // Announces text, less its rule lines ("-----", "=====") and empty lines.
    void announce(const QString &text);
};
