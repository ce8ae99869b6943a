#include "window/controls/phoneedit.h"

#include "window/controls/digits.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextLayout>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

// The room the toolkit leaves between a line edit's frame and its text:
// QLineEditPrivate::horizontalMargin (qlineedit_p.h), a private constant,
// copied. It is 2 in every Qt 6 tried (6.4.2, 6.8.2, 6.11.2). No test
// compares it: should it change, a long number's digits would sit that much
// off a short one's.
constexpr int kTextMargin = 2;

// Whether pasted or dropped text holds something the box would keep.
bool bringsDigit(const QString &text)
{
    return digits::anyIn(text);
}

bool clipboardBringsDigit()
{
    return bringsDigit(QGuiApplication::clipboard()->text());
}

// Whether a line edit's context-menu entry is its paste: known by the name
// QLineEdit::createStandardContextMenu gives it ("edit-paste", as in Qt
// 6.8.2 and 6.11.2), whatever the language; or where the toolkit names none
// (Qt 6.4.2), by its text, the toolkit's own translation as the menu's, before
// the shortcut that menus may show. Decided by what the menu holds, not by
// QT_VERSION: the release that began naming the entries was not pinned down.
bool isPaste(const QAction &action)
{
    if (!action.objectName().isEmpty())
        return action.objectName() == QLatin1StringView("edit-paste");
    return action.text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste");
}

// Keeps only the digits of whatever reaches the box, those of every script
// made ASCII, and the cursor where it was among them.
class DigitsOnly : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override
    {
        qsizetype kept = position;
        input = digits::keptOf(input, &kept);
        position = int(kept);
        return Acceptable;
    }
};

// The character codes a key types, as a classic key-press event sees them:
// Backspace is 8, Ctrl+Backspace 127, Ctrl with a letter a control code
// (Ctrl+C is 3, Ctrl+V 22, Ctrl+X 24), and keys that only move or delete type
// nothing, so they keep their editing effect.
QString typedCharacters(const QKeyEvent &event)
{
    const bool control = event.modifiers() & Qt::ControlModifier;
    const int key = event.key();
    switch (key) {
    case Qt::Key_Backspace:
        return QString(QChar(control ? 127 : 8));
    case Qt::Key_Delete:
    case Qt::Key_Insert:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {};
    default:
        break;
    }
    if (control && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key - Qt::Key_A + 1));
    return event.text();
}

} // namespace

PhoneEdit::PhoneEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new DigitsOnly(this));
    setInputMethodHints(Qt::ImhDigitsOnly);
    connect(this, &QLineEdit::textChanged, this, &PhoneEdit::holdCursorSteady);
}

PhoneEdit::~PhoneEdit()
{
    if (m_steadyCursor)
        QApplication::setCursorFlashTime(m_flashTime);
}

// A long number's cursor is steady: each blink would cost a measure of the
// whole number, and would only draw the same digits again. The cursor that
// blinks is the focused box's, so while this box has the focus with a long
// number, the application's cursors do not flash; the desktop's flash time
// comes back as soon as it loses the focus or the number gets short.
void PhoneEdit::holdCursorSteady()
{
    const bool steady = hasFocus() && isLong();
    if (steady == m_steadyCursor)
        return;
    m_steadyCursor = steady;
    if (steady) {
        m_flashTime = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
    } else {
        QApplication::setCursorFlashTime(m_flashTime);
    }
}

void PhoneEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    holdCursorSteady();
}

// Tab selects the number, as in any line edit; but only once the focus has
// arrived and assistive technology has been told of it, so that a screen
// reader reads the number once, with its label, and not first as a change of
// selection in a box it has not yet been told about.
void PhoneEdit::focusInEvent(QFocusEvent *event)
{
    const auto steadied = qScopeGuard([this] { holdCursorSteady(); });
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason
        && reason != Qt::ShortcutFocusReason) {
        QLineEdit::focusInEvent(event);
        return;
    }
    QFocusEvent unselecting(event->type(), Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&unselecting);
    if (!hasSelectedText())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus())
                    selectAll();
            },
            Qt::QueuedConnection);
}

void PhoneEdit::setKeyPressHandler(KeyPressHandler handler)
{
    m_keyPress = std::move(handler);
}

void PhoneEdit::replaceText(int start, int end, const QString &text)
{
    if (!text.isEmpty() && !bringsDigit(text))
        return;
    Q_ASSERT(0 <= start && start <= end && end <= this->text().size());
    if (start == end && text.isEmpty())
        return;
    setSelection(start, end - start);
    if (text.isEmpty())
        del();
    else
        insert(text); // through the validator, which keeps the digits
}

bool PhoneEdit::admits(QChar character) const
{
    qint16 keyAscii = static_cast<qint16>(character.unicode());
    if (m_keyPress)
        m_keyPress(keyAscii);
    return keyAscii != 0;
}

void PhoneEdit::keyPressEvent(QKeyEvent *event)
{
    const QString typed = typedCharacters(*event);
    if (!std::all_of(typed.cbegin(), typed.cend(), [this](QChar c) { return admits(c); })) {
        event->accept(); // cancelled: the box never sees the key
        return;
    }
    // Pasting nothing the box keeps (an empty clipboard, a picture, letters)
    // would still delete the selection.
    if (event->matches(QKeySequence::Paste) && !clipboardBringsDigit()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void PhoneEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // Each committed character is a key press of its own.
    const QString committed = event->commitString();
    QString admitted;
    std::copy_if(committed.cbegin(), committed.cend(), std::back_inserter(admitted),
        [this](QChar c) { return admits(c); });
    if (admitted == committed) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(admitted, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

// The toolkit's menu shows the usual shortcuts beside its entries (Ctrl+Z,
// Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A), after a tab in each entry's text
// (QLineEdit::createStandardContextMenu, as in Qt 6.4.2, 6.8.2 and 6.11.2;
// tst_keyboard fails should that change), and the box's key rule refuses
// every one of them: none is shown, but Shift+Insert beside Paste, which does
// paste here.
void PhoneEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    for (QAction *action : menu->actions()) {
        const QString text = action->text();
        const qsizetype tab = text.indexOf(u'\t');
        QString shown = text.left(tab);
        if (isPaste(*action)) {
            action->setEnabled(action->isEnabled() && clipboardBringsDigit());
            if (tab >= 0)
                shown += u'\t'
                    + QKeySequence(Qt::SHIFT | Qt::Key_Insert).toString(QKeySequence::NativeText);
        }
        action->setText(shown);
        action->setShortcut({});
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// A drag that brings no digit is refused outright: the cursor does not follow
// it and a drop changes nothing.
void PhoneEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (bringsDigit(event->mimeData()->text()))
        QLineEdit::dragEnterEvent(event);
    else
        event->ignore();
}

void PhoneEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (bringsDigit(event->mimeData()->text()))
        QLineEdit::dragMoveEvent(event);
    else
        event->ignore();
}

void PhoneEdit::dropEvent(QDropEvent *event)
{
    if (bringsDigit(event->mimeData()->text()))
        QLineEdit::dropEvent(event);
    else
        event->ignore();
}

// ------------------------------------------------------------ long numbers

bool PhoneEdit::isLong() const
{
    return text().size() > kLongNumber;
}

QRect PhoneEdit::textArea() const
{
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    return contents.marginsRemoved(textMargins()).adjusted(kTextMargin, 0, -kTextMargin, 0);
}

// Scrolls, as the toolkit does, just far enough to show the cursor: to put
// it at the left edge, or one pixel inside the right edge.
void PhoneEdit::keepCursorShown()
{
    const QString digits = text();
    const int cursor = cursorPosition();
    if (cursor <= m_firstShown) {
        m_firstShown = cursor;
        m_scrolled = 0;
        return;
    }
    const QFontMetricsF metrics(font());
    const qreal room = textArea().width() - 1;
    qreal width = -m_scrolled;
    for (int i = cursor; i > m_firstShown; --i) {
        width += metrics.horizontalAdvance(digits.at(i - 1));
        if (width >= room) {
            m_firstShown = i - 1;
            m_scrolled = width + m_scrolled - room;
            return;
        }
    }
}

// The digits in view, and one more, laid out as one line from the first shown.
void PhoneEdit::layOutShown(QTextLayout &layout) const
{
    const qreal narrowest = QFontMetricsF(font()).horizontalAdvance(u'1');
    const int count = int((textArea().width() + m_scrolled) / std::max(narrowest, 1.0)) + 2;
    layout.setText(text().mid(m_firstShown, count));
    layout.setFont(font());
    layout.setCacheEnabled(true);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

int PhoneEdit::positionAt(qreal x) const
{
    QTextLayout layout;
    layOutShown(layout);
    return m_firstShown + layout.lineAt(0).xToCursor(x - textArea().x() + m_scrolled);
}

void PhoneEdit::paintEvent(QPaintEvent *event)
{
    if (!isLong()) {
        QLineEdit::paintEvent(event);
        return;
    }
    keepCursorShown();
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    const QRect area = textArea();
    painter.setClipRect(area.adjusted(-kTextMargin, 0, kTextMargin, 0));
    QTextLayout layout;
    layOutShown(layout);
    // Centred as the toolkit centres a line edit's text, on a whole pixel:
    // QLineEdit::paintEvent's vertical scroll for Qt::AlignVCenter, copied
    // (the same in Qt 6.4.2, 6.8.2 and 6.11.2).
    const int top = area.y() + (area.height() - fontMetrics().height() + 1) / 2;
    const QPointF origin(area.x() - m_scrolled, top);

    QList<QTextLayout::FormatRange> selection;
    const int selected = std::max(selectionStart() - m_firstShown, 0);
    const int selectedEnd = std::min(selectionEnd() - m_firstShown, int(layout.text().size()));
    if (hasSelectedText() && selected < selectedEnd) {
        QTextLayout::FormatRange range;
        range.start = selected;
        range.length = selectedEnd - selected;
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selection.append(range);
    }
    painter.setPen(palette().color(QPalette::Text));
    layout.draw(&painter, origin, selection);
    // A steady cursor: its blink would only draw the same digits again.
    if (hasFocus() && !isReadOnly())
        layout.drawCursor(&painter, origin, cursorPosition() - m_firstShown,
            style()->pixelMetric(QStyle::PM_TextCursorWidth, &panel, this));
}

void PhoneEdit::mousePressEvent(QMouseEvent *event)
{
    if (!isLong() || event->button() != Qt::LeftButton) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    const int position = positionAt(event->position().x());
    if (event->modifiers() & Qt::ShiftModifier) {
        if (!hasSelectedText())
            m_anchor = cursorPosition();
        else if (cursorPosition() == selectionStart())
            m_anchor = selectionEnd();
        else
            m_anchor = selectionStart();
        setSelection(m_anchor, position - m_anchor);
    } else {
        m_anchor = position;
        setCursorPosition(position);
    }
    event->accept();
}

void PhoneEdit::mouseMoveEvent(QMouseEvent *event)
{
    if (!isLong()) {
        QLineEdit::mouseMoveEvent(event);
        return;
    }
    if (event->buttons() & Qt::LeftButton) {
        const int position = positionAt(event->position().x());
        setSelection(m_anchor, position - m_anchor);
    }
    event->accept();
}

QVariant PhoneEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query != Qt::ImCursorRectangle || !isLong())
        return QLineEdit::inputMethodQuery(query);
    QTextLayout layout;
    layOutShown(layout);
    const QRect area = textArea();
    const qreal x = layout.lineAt(0).cursorToX(cursorPosition() - m_firstShown) - m_scrolled;
    return QRect(area.x() + int(x), area.y(), 1, area.height());
}
