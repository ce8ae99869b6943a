#include "textbox.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Wrapping at word boundaries takes time quadratic in the length of a word
// that is longer than a line, such as a pasted run of many thousand digits;
// texts with lines that long are wrapped anywhere instead.
constexpr qsizetype kLongLine = 1000;

// The length of text's longest line; first, that of its first line, where text
// is added to a line already begun.
qsizetype longestLine(QStringView text, qsizetype first = 0)
{
    qsizetype longest = 0;
    for (QStringView line : text.split(u'\n')) {
        longest = std::max(longest, first + line.size());
        first = 0;
    }
    return longest;
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QTextEdit(parent)
{
    // As in any dialog's text box, Tab moves on to the next control.
    setTabChangesFocus(true);
    setAcceptRichText(false);
    // Text starts right inside the border, as in a classic edit control.
    document()->setDocumentMargin(1);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QString TextBox::text() const
{
    return QString(m_unshown ? *m_unshown : toPlainText()).replace(u'\n', u"\r\n"_s);
}

void TextBox::setText(const QString &text)
{
    QString plain = QString(text).replace(u"\r\n"_s, u"\n"_s);
    if (isVisible()) {
        layOut(plain);
        return;
    }
    // Laid out only when it can be seen: the quiz question waits for the
    // panel to open, and start-up does not pay for shaping it.
    m_unshown = std::move(plain);
}

void TextBox::setLinePitch(int pixels)
{
    m_linePitch = pixels;
    if (!m_unshown)
        keepLinePitch();
}

void TextBox::layOut(const QString &plain)
{
    setWordWrapMode(longestLine(plain) > kLongLine ? QTextOption::WrapAnywhere
                                                   : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(plain);
    keepLinePitch();
    keepLongLinesShaped();
}

// The toolkit shapes a line's text again each time it draws the cursor in it,
// unless its shapes are kept: every blink would cost the whole line.
void TextBox::keepLongLinesShaped()
{
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        if (block.length() > kLongLine)
            block.layout()->setCacheEnabled(true);
}

// Lines typed or pasted later take the format of the line they are added to.
void TextBox::keepLinePitch()
{
    if (m_linePitch <= 0 || fontMetrics().height() == m_linePitch)
        return; // the face's own pitch is the one wanted
    QTextBlockFormat pitch;
    pitch.setLineHeight(m_linePitch, QTextBlockFormat::FixedHeight);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(pitch);
    document()->clearUndoRedoStacks();
}

void TextBox::showEvent(QShowEvent *event)
{
    if (m_unshown)
        layOut(*std::exchange(m_unshown, std::nullopt));
    QTextEdit::showEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData *source)
{
    // The toolkit reads the first format of whatever it is given, even when
    // there is none: an empty clipboard must not get that far.
    if (!source || !canInsertFromMimeData(source))
        return;
    // A line made long by the insertion is wrapped anywhere, before it is
    // laid out (see kLongLine).
    const QTextCursor cursor = textCursor();
    const qsizetype before = cursor.selectionStart() - cursor.block().position();
    if (longestLine(source->text(), before) > kLongLine)
        setWordWrapMode(QTextOption::WrapAnywhere);
    QTextEdit::insertFromMimeData(source);
    keepLongLinesShaped();
}
