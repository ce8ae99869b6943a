#include "platform/windowwatch.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>

#include <xcb/xcb.h>

namespace {

// Watches the X events the toolkit reads for the one that says the window is
// gone. The toolkit asks for them (StructureNotify on each of its windows)
// but does nothing with a top-level window's DestroyNotify.
class DestroyWatch : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit DestroyWatch(QWidget *window)
        : QObject(window)
        , m_window(window)
        , m_id(xcb_window_t(window->winId()))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~DestroyWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
            return false;
        const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
        if (destroyed->window != m_id || m_window == nullptr)
            return false;
        QCoreApplication::quit();
        return true;
    }

private:
    QPointer<QWidget> m_window;
    xcb_window_t m_id;
};

} // namespace

void quitWhenDestroyedFromOutside(QWidget *window)
{
    if (QGuiApplication::platformName() == QLatin1StringView("xcb"))
        new DestroyWatch(window);
}
