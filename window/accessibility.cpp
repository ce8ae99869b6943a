#include "accessibility.h"

#include "announcer.h"
#include "imagearea.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *accessibleControl(const QString &, QObject *object)
{
    if (auto *area = qobject_cast<ImageArea *>(object))
        return new QAccessibleWidget(area, area->accessibleRole());
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleControl);
}
