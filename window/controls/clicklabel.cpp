#include "window/controls/clicklabel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>

namespace {

constexpr Qt::Alignment kAlignment = Qt::AlignLeft | Qt::AlignVCenter;

} // namespace

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(text);
    // Reached by Tab, never by a click: the mouse leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
}

QSize ClickLabel::sizeHint() const
{
    return fontMetrics().boundingRect(QRect(0, 0, 2000, 2000), kAlignment, text()).size();
}

void ClickLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPalette colours = palette();
    QPalette::ColorRole textRole = QPalette::WindowText;
    if (hasFocus()) {
        painter.fillRect(rect(), colours.highlight());
        textRole = QPalette::HighlightedText;
    }
    style()->drawItemText(&painter, rect(), kAlignment, colours, isEnabled(), text(), textRole);
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    // Space clicks any button; Enter clicks a link.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void ClickLabel::setExpanded(bool expanded)
{
    if (m_expanded == expanded)
        return;
    m_expanded = expanded;
    QAccessible::State changed;
    changed.expanded = true;
    changed.collapsed = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}
