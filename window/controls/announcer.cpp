#include "window/controls/announcer.h"

#include <QAccessible>

#include <algorithm>

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString &text)
{
    const auto isRule = [](QStringView line) {
        return std::all_of(
            line.begin(), line.end(), [](QChar c) { return c == u'-' || c == u'='; });
    };
    QString spoken;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (isRule(line.trimmed())) // an empty line too
            continue;
        if (!spoken.isEmpty())
            spoken += u'\n';
        spoken += line;
    }
    setAccessibleName(spoken);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(this, spoken);
    QAccessible::updateAccessibility(&announcement);
#else
    // Screen readers speak a notification when it starts showing.
    hide();
    show();
#endif
}
