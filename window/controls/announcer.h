// Says a text to screen readers without showing it on screen. From Qt 6.8 it
// is an announcement (QAccessibleAnnouncementEvent, which AT-SPI passes on as
// its Announcement event, spoken once); before, where the toolkit has none,
// an empty notification, shown anew with each text, which a screen reader
// reads out as it appears. Sighted users see nothing and the focus stays
// where it is.
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
