#include "window/controls/textbox.h"

#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Wrapping at word boundaries takes time quadratic in the length of a word
// that is longer than a line, such as a pasted run of many thousand digits;
// texts with lines that long are wrapped anywhere instead.
constexpr qsizetype kLongLine = 1000;

// The length of text's longest line, its first line counted from first: the
// length of a line already begun, where text is added to it.
qsizetype longestLine(QStringView text, qsizetype first = 0)
{
    qsizetype longest = 0;
    for (QStringView line : text.split(u'\n')) {
        longest = std::max(longest, first + line.size());
        first = 0;
    }
    return longest;
}

// A long line is shown in pieces of about this many characters.
constexpr qsizetype kPiece = 4096;
// Marks a piece that the next one continues.
constexpr int kContinued = 1;

// Each character's advance in a font; those of ASCII measured once.
class Advances
{
public:
    explicit Advances(const QFont &font)
        : m_metrics(font)
    {
        m_ascii.fill(-1);
    }

    qreal of(QChar c)
    {
        if (c.unicode() >= m_ascii.size())
            return m_metrics.horizontalAdvance(c);
        qreal &advance = m_ascii[c.unicode()];
        if (advance < 0)
            advance = m_metrics.horizontalAdvance(c);
        return advance;
    }

private:
    QFontMetricsF m_metrics;
    std::array<qreal, 128> m_ascii {};
};

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
    // The box paints the ground under its text itself (see event()).
    viewport()->setAutoFillBackground(false);
}

// The frame and the ground inside it, painted by the box, not by the toolkit,
// so that at a fractional scale they are what they are at 1, enlarged. The
// toolkit's frame is a line one device pixel wide at a fractional place that
// the box's own area may not reach (none at all at 1.5), and its viewport,
// painting its own ground, may leave a column of device pixels between the
// two unpainted (at 1.25). Here the ground is filled under the whole box,
// beneath the text that the viewport draws, so that a device pixel whose
// middle lies on the frame's inner edge is the ground's whichever way the
// toolkit rounds that edge (Qt 6.4.2 gives it to the viewport, 6.8.2 to
// neither); then the frame the style draws at 1 is enlarged over it, each
// device pixel taking the colour of the pixel it lies in.
bool TextBox::event(QEvent *event)
{
    if (event->type() != QEvent::Paint)
        return QTextEdit::event(event);
    QPainter(this).fillRect(rect(), palette().brush(QPalette::Base));
    if (devicePixelRatioF() == 1)
        return QTextEdit::event(event); // the style's frame, as it is
    // The frame at 1 is drawn again only when what it is drawn from changes,
    // not at each blink of the cursor.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const FrameDrawn drawn { size(), style(), option.palette.cacheKey(),
        int(option.palette.currentColorGroup()), QStyle::State::Int(option.state) };
    if (drawn != m_frameDrawn || m_frame.isNull()) {
        m_frame = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        m_frame.fill(Qt::transparent);
        QPainter framePainter(&m_frame);
        drawFrame(&framePainter);
        m_frameDrawn = drawn;
    }
    QPainter(this).drawImage(rect(), m_frame);
    return true;
}

QString TextBox::text() const
{
    const std::optional<QString> &kept = m_unshown ? m_unshown : m_whole;
    return QString(kept ? *kept : toPlainText()).replace(u'\n', u"\r\n"_s);
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
    const bool longLines = longestLine(plain) > kLongLine;
    setWordWrapMode(
        longLines ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_whole.reset();
    if (longLines && isReadOnly()) {
        showInPieces(plain);
        m_whole = plain;
    } else {
        setPlainText(plain);
    }
    keepLinePitch();
    keepLongLinesShaped();
}

// The toolkit shapes a line's text again each time it draws the cursor in it,
// unless its shapes are kept: every blink would cost the whole line.
void TextBox::keepLongLinesShaped()
{
    if (m_whole)
        return; // pieces are short enough to shape again
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

// Each piece ends with a wrapped line: where the toolkit wraps anywhere, as
// soon as the next character would not fit.
void TextBox::showInPieces(QStringView plain)
{
    Advances advances(font());
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    QString shown;
    shown.reserve(plain.size() + plain.size() / kPiece + 1);
    QList<int> continued; // the numbers of the pieces that the next continues
    int blocks = 0;
    bool first = true;
    for (QStringView line : plain.split(u'\n')) {
        if (!std::exchange(first, false)) {
            shown += u'\n';
            ++blocks;
        }
        qsizetype pieceStart = 0;
        qreal x = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const qreal advance = advances.of(line[i]);
            if (x > 0 && x + advance > width) { // a wrapped line ends before i
                x = 0;
                if (i - pieceStart >= kPiece) {
                    shown += line.sliced(pieceStart, i - pieceStart);
                    shown += u'\n';
                    continued.append(blocks++);
                    pieceStart = i;
                }
            }
            x += advance;
        }
        shown += line.sliced(pieceStart);
    }
    setPlainText(shown);
    for (const int number : std::as_const(continued))
        document()->findBlockByNumber(number).setUserState(kContinued);
}

QMimeData *TextBox::createMimeDataFromSelection() const
{
    if (!m_whole)
        return QTextEdit::createMimeDataFromSelection();
    // The selected text, less the breaks between pieces.
    const QTextCursor cursor = textCursor();
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    QString selected;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int start = std::max(from - block.position(), 0);
        const int end = std::min(to - block.position(), block.length() - 1);
        const QString text = block.text();
        selected += QStringView(text).sliced(start, end - start);
        if (to >= block.position() + block.length() && block.userState() != kContinued)
            selected += u'\n';
    }
    auto *copied = new QMimeData;
    copied->setText(selected);
    return copied;
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
