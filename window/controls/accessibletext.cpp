#include "window/controls/accessibletext.h"

#include <QTextBoundaryFinder>
#include <QWidget>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace accessibletext {

namespace {

// The boundaries of one kind in a text, found from any position outwards.
// 0 and the text's length are boundaries of every kind.
class Boundaries
{
public:
    Boundaries(
        const QString &text, QAccessible::TextBoundaryType boundary, const QList<int> &lineStarts)
        : m_length(int(text.size()))
        , m_kind(boundary)
    {
        switch (boundary) {
        case QAccessible::CharBoundary:
            m_finder.emplace(QTextBoundaryFinder::Grapheme, text);
            break;
        case QAccessible::WordBoundary:
            m_finder.emplace(QTextBoundaryFinder::Word, text);
            break;
        case QAccessible::SentenceBoundary:
            m_finder.emplace(QTextBoundaryFinder::Sentence, text);
            break;
        case QAccessible::LineBoundary:
            m_starts = lineStarts;
            break;
        case QAccessible::ParagraphBoundary:
            for (int i = 0; i + 1 < m_length; ++i)
                if (text.at(i) == u'\n')
                    m_starts.append(i + 1);
            break;
        case QAccessible::NoBoundary:
            break;
        }
    }

    // The last boundary at or before position, and the first after it.
    int atOrBefore(int position) { return position == m_length ? position : before(position + 1); }

    int before(int position)
    {
        if (position <= 0)
            return 0;
        if (!m_finder) {
            const auto next = std::lower_bound(m_starts.cbegin(), m_starts.cend(), position);
            return next == m_starts.cbegin() ? 0 : *(next - 1);
        }
        m_finder->setPosition(position);
        while (m_finder->toPreviousBoundary() > 0 && !counts())
            ;
        return std::max(int(m_finder->position()), 0);
    }

    int after(int position)
    {
        if (position >= m_length)
            return m_length;
        if (!m_finder) {
            const auto next = std::upper_bound(m_starts.cbegin(), m_starts.cend(), position);
            return next == m_starts.cend() ? m_length : *next;
        }
        m_finder->setPosition(position);
        int found = -1;
        do
            found = int(m_finder->toNextBoundary());
        while (found >= 0 && found < m_length && !counts());
        return found < 0 ? m_length : found;
    }

private:
    // Words are what lies between the starts and ends of words: the spaces and
    // punctuation between two words are an item too.
    bool counts() const
    {
        return m_kind != QAccessible::WordBoundary
            || (m_finder->boundaryReasons()
                & (QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem));
    }

    int m_length;
    QAccessible::TextBoundaryType m_kind;
    std::optional<QTextBoundaryFinder> m_finder;
    QList<int> m_starts;
};

} // namespace

Range item(const QString &text, int offset, QAccessible::TextBoundaryType boundary, Side side,
    const QList<int> &lineStarts)
{
    const int length = int(text.size());
    if (offset == -1)
        offset = length;
    if (offset < 0 || offset > length)
        return {};
    if (boundary == QAccessible::NoBoundary) {
        switch (side) {
        case Side::Before:
            return { 0, 0 };
        case Side::At:
            return { 0, length };
        case Side::After:
            return { length, length };
        }
    }

    Boundaries boundaries(text, boundary, lineStarts);
    Range at;
    if (offset < length) {
        at.start = boundaries.atOrBefore(offset);
        at.end = boundaries.after(offset);
    } else if (boundary == QAccessible::CharBoundary || length == 0) {
        at = { length, length }; // no character stands at the end
    } else {
        at = { boundaries.before(length), length }; // the last word, line…
    }
    switch (side) {
    case Side::Before:
        return { boundaries.before(at.start), at.start };
    case Side::At:
        return at;
    case Side::After:
        return { at.end, boundaries.after(at.end) };
    }
    return {};
}

} // namespace accessibletext

using accessibletext::Side;

AccessibleText::AccessibleText(QWidget *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{ }

void *AccessibleText::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface && !isReadOnly())
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

// Selectable, and editable unless read-only.
QAccessible::State AccessibleText::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
}

QString AccessibleText::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return plainText();
    return QAccessibleWidget::text(type);
}

void AccessibleText::setText(QAccessible::Text type, const QString &text)
{
    if (type != QAccessible::Value) {
        QAccessibleWidget::setText(type, text);
        return;
    }
    if (!isReadOnly())
        replace(0, characterCount(), text);
}

bool AccessibleText::isReadOnly() const
{
    return widget()->property("readOnly").toBool();
}

QString AccessibleText::text(int startOffset, int endOffset) const
{
    const QString all = plainText();
    const qsizetype start = std::clamp<qsizetype>(startOffset, 0, all.size());
    const qsizetype end = std::clamp<qsizetype>(endOffset, start, all.size());
    return all.mid(start, end - start);
}

int AccessibleText::characterCount() const
{
    return int(plainText().size());
}

QString AccessibleText::itemText(int offset, QAccessible::TextBoundaryType boundaryType, Side side,
    int *startOffset, int *endOffset) const
{
    const QString all = plainText();
    if (offset == -2)
        offset = cursorPosition();
    const accessibletext::Range range
        = accessibletext::item(all, offset, boundaryType, side, lineStarts());
    *startOffset = range.start;
    *endOffset = range.end;
    return range.start < 0 ? QString() : all.mid(range.start, range.end - range.start);
}

QString AccessibleText::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return itemText(offset, boundaryType, Side::Before, startOffset, endOffset);
}

QString AccessibleText::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return itemText(offset, boundaryType, Side::At, startOffset, endOffset);
}

QString AccessibleText::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    return itemText(offset, boundaryType, Side::After, startOffset, endOffset);
}

// The whole text is one run, in the box's font and colours; a screen reader
// that builds its lines from the runs reads every character.
QString AccessibleText::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    const QWidget *box = widget();
    const QFont font = box->font();
    const auto rgb = [](QColor colour) {
        return u"rgb(%1,%2,%3)"_s.arg(colour.red()).arg(colour.green()).arg(colour.blue());
    };
    return u"font-family:\"%1\";font-size:%2pt;font-style:%3;font-weight:%4;color:%5;"
           u"background-color:%6;"_s.arg(font.family())
               .arg(font.pointSize())
               .arg(font.italic() ? u"italic"_s : u"normal"_s)
               .arg(font.weight())
               .arg(rgb(box->palette().color(QPalette::Text)),
                   rgb(box->palette().color(QPalette::Base)));
}

void AccessibleText::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

int AccessibleText::selectionCount() const
{
    int start = 0;
    int end = 0;
    selection(0, &start, &end);
    return start < end ? 1 : 0;
}

void AccessibleText::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void AccessibleText::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void AccessibleText::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (isReadOnly())
        return;
    const int length = characterCount();
    const int start = std::clamp(startOffset, 0, length);
    replace(start, std::clamp(endOffset, start, length), text);
}
