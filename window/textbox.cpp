#include "textbox.h"

#include <QMimeData>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Wrapping at word boundaries takes time quadratic in the length of a word
// that is longer than a line, such as a pasted run of many thousand digits;
// texts with lines that long are wrapped anywhere instead.
constexpr qsizetype kLongLine = 1000;

bool hasLongLine(const QString &text)
{
    qsizetype lineStart = 0;
    while (lineStart <= text.size()) {
        qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = text.size();
        if (lineEnd - lineStart > kLongLine)
            return true;
        lineStart = lineEnd + 1;
    }
    return false;
}

} // namespace

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // As in any dialog's text box, Tab moves on to the next control.
    setTabChangesFocus(true);
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

void TextBox::layOut(const QString &plain)
{
    setWordWrapMode(
        hasLongLine(plain) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(plain);
}

void TextBox::showEvent(QShowEvent *event)
{
    if (m_unshown)
        layOut(*std::exchange(m_unshown, std::nullopt));
    QPlainTextEdit::showEvent(event);
}

void TextBox::insertFromMimeData(const QMimeData *source)
{
    // The toolkit reads the first format of whatever it is given, even when
    // there is none: an empty clipboard must not get that far.
    if (source && canInsertFromMimeData(source))
        QPlainTextEdit::insertFromMimeData(source);
}
