#include "window/controls/accessibility.h"

#include "window/controls/accessibletext.h"
#include "window/controls/announcer.h"
#include "window/controls/clicklabel.h"
#include "window/controls/imagearea.h"
#include "window/controls/phoneedit.h"
#include "window/controls/textbox.h"

#include <QAccessibleWidget>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

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

// The phone box: one line of digits.
class AccessiblePhoneEdit : public AccessibleText
{
public:
    explicit AccessiblePhoneEdit(PhoneEdit *box)
        : AccessibleText(box)
    {
        addControllingSignal(QStringLiteral("textChanged(QString)"));
        addControllingSignal(QStringLiteral("returnPressed()"));
    }

    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (selectionIndex == 0 && box()->hasSelectedText()) {
            *startOffset = box()->selectionStart();
            *endOffset = box()->selectionEnd();
        }
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        const int length = characterCount();
        const int start = std::clamp(startOffset, 0, length);
        box()->setSelection(start, std::clamp(endOffset, 0, length) - start);
    }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex == 0)
            box()->deselect();
    }

    // Measured from the cursor, whose place the box knows however far it has
    // scrolled.
    QRect characterRect(int offset) const override
    {
        const QString digits = box()->text();
        if (offset < 0 || offset >= digits.size())
            return {};
        const QFontMetrics metrics(box()->font());
        const int cursor = box()->cursorPosition();
        const QRect cursorAt = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int between = metrics.horizontalAdvance(
            digits.mid(std::min(offset, cursor), std::abs(offset - cursor)));
        const int x = cursorAt.x() + (offset < cursor ? -between : between);
        const QRect character(
            x, cursorAt.y(), metrics.horizontalAdvance(digits.at(offset)), cursorAt.height());
        return character.translated(box()->mapToGlobal(QPoint(0, 0)));
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        box()->setCursorPosition(endIndex);
        box()->setCursorPosition(startIndex);
    }

protected:
    QString plainText() const override { return box()->text(); }
    void replace(int start, int end, const QString &text) override
    {
        box()->replaceText(start, end, text);
    }

private:
    PhoneEdit *box() const { return static_cast<PhoneEdit *>(widget()); }
};

// The output box and the quiz text: a document of lines that wrap, read line
// by line as they are shown.
class AccessibleTextBox : public AccessibleText
{
public:
    explicit AccessibleTextBox(TextBox *box)
        : AccessibleText(box)
    { }

    QAccessible::State state() const override
    {
        QAccessible::State state = AccessibleText::state();
        state.multiLine = true;
        return state;
    }

    int cursorPosition() const override { return box()->textCursor().position(); }

    void setCursorPosition(int position) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(std::clamp(position, 0, characterCount()));
        box()->setTextCursor(cursor);
    }

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        const QTextCursor cursor = box()->textCursor();
        if (selectionIndex == 0 && cursor.hasSelection()) {
            *startOffset = cursor.selectionStart();
            *endOffset = cursor.selectionEnd();
        }
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override
    {
        if (selectionIndex != 0)
            return;
        const int length = characterCount();
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(std::clamp(startOffset, 0, length));
        cursor.setPosition(std::clamp(endOffset, 0, length), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    void removeSelection(int selectionIndex) override
    {
        if (selectionIndex != 0)
            return;
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override
    {
        const QString text = plainText();
        if (offset < 0 || offset >= text.size())
            return {};
        QTextCursor cursor(box()->document());
        cursor.setPosition(offset);
        QRect character = box()->cursorRect(cursor);
        character.setWidth(QFontMetrics(box()->font()).horizontalAdvance(text.at(offset)));
        return character.translated(box()->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorForPosition(box()->viewport()->mapFromGlobal(point)).position();
    }

    void scrollToSubstring(int startIndex, int endIndex) override
    {
        setCursorPosition(endIndex);
        box()->ensureCursorVisible();
        setCursorPosition(startIndex);
        box()->ensureCursorVisible();
    }

protected:
    QString plainText() const override { return box()->document()->toPlainText(); }

    // Where each line the box shows begins: each paragraph, and each place
    // where a paragraph wraps.
    QList<int> lineStarts() const override
    {
        QList<int> starts;
        for (QTextBlock block = box()->document()->begin(); block.isValid(); block = block.next()) {
            if (block.position() > 0)
                starts.append(block.position());
            const QTextLayout *layout = block.layout();
            for (int i = 1; layout && i < layout->lineCount(); ++i)
                starts.append(block.position() + layout->lineAt(i).textStart());
        }
        return starts;
    }

    void replace(int start, int end, const QString &text) override
    {
        QTextCursor cursor(box()->document());
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.insertText(text);
    }

private:
    TextBox *box() const { return static_cast<TextBox *>(widget()); }
};

// A label that opens and closes something: a button, expandable where it
// opens something, and expanded while that is open.
class AccessibleClickLabel : public QAccessibleWidget
{
public:
    explicit AccessibleClickLabel(ClickLabel *label)
        : QAccessibleWidget(label, QAccessible::Button)
    { }

    QString text(QAccessible::Text type) const override
    {
        QString text = QAccessibleWidget::text(type);
        if (text.isEmpty() && type == QAccessible::Name)
            text = label()->text();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (const std::optional<bool> expanded = label()->expanded()) {
            state.expandable = true;
            state.expanded = *expanded;
            state.collapsed = !*expanded;
        }
        return state;
    }

    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            label()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    ClickLabel *label() const { return static_cast<ClickLabel *>(widget()); }
};

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (auto *area = qobject_cast<ImageArea *>(object))
        return new QAccessibleWidget(area, area->accessibleRole());
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    if (auto *phone = qobject_cast<PhoneEdit *>(object))
        return new AccessiblePhoneEdit(phone);
    if (auto *box = qobject_cast<TextBox *>(object))
        return new AccessibleTextBox(box);
    if (auto *label = qobject_cast<ClickLabel *>(object))
        return new AccessibleClickLabel(label);
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
