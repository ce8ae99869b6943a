#include "accessibility.h"

#include "announcer.h"
#include "imagearea.h"

#include <QAccessibleWidget>

namespace {

constexpr const char *kDecoration = "decorationOnly";

bool isDecoration(const QAccessibleInterface *item)
{
    return item && item->object() && item->object()->property(kDecoration).toBool();
}

// A window as the toolkit presents it, less its decorations.
class UndecoratedWindow : public QAccessibleWidget
{
public:
    explicit UndecoratedWindow(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    { }

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override { return shownChildren().value(index); }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return int(shownChildren().indexOf(child));
    }

private:
    QList<QAccessibleInterface *> shownChildren() const
    {
        QList<QAccessibleInterface *> shown;
        for (int i = 0; i < QAccessibleWidget::childCount(); ++i) {
            QAccessibleInterface *item = QAccessibleWidget::child(i);
            if (item && !isDecoration(item))
                shown.append(item);
        }
        return shown;
    }
};

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (auto *area = qobject_cast<ImageArea *>(object))
        return new QAccessibleWidget(area, area->accessibleRole());
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    // Asked first for the object's own class: only windows of a class made
    // straight from QWidget, never the toolkit's own windows (menus, tips).
    const QMetaObject *type = object->metaObject();
    if (object->isWidgetType() && static_cast<QWidget *>(object)->isWindow()
        && type->superClass() == &QWidget::staticMetaObject
        && className == QLatin1StringView(type->className()))
        return new UndecoratedWindow(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

void installAccessibility()
{
    QAccessible::installFactory(accessibleControl);
}

void hideFromAssistiveTechnology(QWidget *control)
{
    control->setProperty(kDecoration, true);
}
