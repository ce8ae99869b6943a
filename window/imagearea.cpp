#include "imagearea.h"

#include "click.h"

#include <QAccessibleWidget>

namespace {

class ImageAreaAccessible : public QAccessibleWidget
{
public:
    explicit ImageAreaAccessible(ImageArea *area)
        : QAccessibleWidget(area, area->accessibleRole())
    { }

    QStringList actionNames() const override
    {
        return role() == QAccessible::Button ? QStringList { pressAction() } : QStringList {};
    }

    void doAction(const QString &action) override
    {
        if (action == pressAction() && role() == QAccessible::Button)
            Q_EMIT static_cast<ImageArea *>(widget())->clicked();
    }
};

QAccessibleInterface *accessibleImageArea(const QString &, QObject *object)
{
    if (auto *area = qobject_cast<ImageArea *>(object))
        return new ImageAreaAccessible(area);
    return nullptr;
}

} // namespace

ImageArea::ImageArea(QAccessible::Role role, QWidget *parent)
    : QWidget(parent)
    , m_role(role)
{ }

void ImageArea::installAccessibility()
{
    QAccessible::installFactory(accessibleImageArea);
}

void ImageArea::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT mouseDown(event->button(), event->modifiers(), event->position());
}

void ImageArea::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (isClick(*this, *event))
        Q_EMIT clicked();
}
