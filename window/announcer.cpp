#include "announcer.h"

#include <QRegularExpression>

using namespace Qt::Literals::StringLiterals;

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString &text)
{
    static const QRegularExpression rule(u"^[-=]*$"_s);
    QStringList lines = text.split(QRegularExpression(u"\r?\n"_s));
    lines.removeIf([](const QString &line) { return rule.match(line.trimmed()).hasMatch(); });
    setAccessibleName(lines.join(u'\n'));
    // Screen readers speak a notification when it starts showing.
    hide();
    show();
}
