#include "phoneedit.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A full-width digit, as a Chinese input method in full-width mode gives it.
bool isFullWidthDigit(QChar c)
{
    return c >= u'\uFF10' && c <= u'\uFF19';
}

// Whether pasted or dropped text holds something the box would keep.
bool bringsDigit(const QString &text)
{
    return std::any_of(
        text.cbegin(), text.cend(), [](QChar c) { return isAsciiDigit(c) || isFullWidthDigit(c); });
}

bool clipboardBringsDigit()
{
    return bringsDigit(QGuiApplication::clipboard()->text());
}

// Keeps only the digits of whatever reaches the box, full-width ones turned
// into ASCII, and the cursor where it was among them.
class DigitsOnly : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override
    {
        for (QChar &c : input)
            if (isFullWidthDigit(c))
                c = QChar(c.unicode() - 0xFF10 + u'0');
        const auto removedBeforeCursor = std::count_if(
            input.cbegin(), input.cbegin() + position, [](QChar c) { return !isAsciiDigit(c); });
        input.removeIf([](QChar c) { return !isAsciiDigit(c); });
        position -= int(removedBeforeCursor);
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
}

void PhoneEdit::setKeyPressHandler(KeyPressHandler handler)
{
    m_keyPress = std::move(handler);
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

void PhoneEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The menu's paste is known by its text, the toolkit's own (and so in the
    // same language), followed by its shortcut where menus show one.
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == paste)
            action->setEnabled(action->isEnabled() && clipboardBringsDigit());
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
