// What assistive technology reads of a box of plain text: its characters,
// words, sentences, lines and paragraphs at, before and after any offset.
//
// The toolkit's own answers for a line edit never return for a word at the end
// of its text, and its text boxes take -1 (the end, by the interface's rule)
// for an offset out of range; these answer every question at once. A text
// item is a stretch between two boundaries of its kind, so that the items of
// one kind follow each other without gap or overlap; the word or line at the
// end of a text is its last one, and the character there is empty.
#pragma once

#include <QAccessibleWidget>
#include <QList>
#include <QString>

namespace accessibletext {

// A stretch [start, end) of a text. Both are -1 for an offset outside it.
struct Range
{
    int start = -1;
    int end = -1;
    bool operator==(const Range &) const = default;
};

enum class Side { Before, At, After };

// The item of the kind boundary on side of offset in text (-1 is its end).
// Lines begin at 0 and at each of lineStarts (ascending, inside the text);
// paragraphs after each line feed.
Range item(const QString &text, int offset, QAccessible::TextBoundaryType boundary, Side side,
    const QList<int> &lineStarts = {});

} // namespace accessibletext

// An accessible interface for a box of plain text, with its text, text items
// and one run of attributes (the box's font and colours) covering it all.
// Editing through assistive technology goes through replace(), where each
// kind of box keeps its own rules.
class AccessibleText : public QAccessibleWidget,
                       public QAccessibleTextInterface,
                       public QAccessibleEditableTextInterface
{
public:
    explicit AccessibleText(QWidget *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text type, const QString &text) override;

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
        int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
        int *startOffset, int *endOffset) const override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;
    void addSelection(int startOffset, int endOffset) override;
    int selectionCount() const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

protected:
    // The text as the box's offsets count it, and where its shown lines begin.
    virtual QString plainText() const = 0;
    virtual QList<int> lineStarts() const { return {}; }
    // Replaces [start, end) of the text (both inside it, start <= end).
    virtual void replace(int start, int end, const QString &text) = 0;
    bool isReadOnly() const;

private:
    QString itemText(int offset, QAccessible::TextBoundaryType boundaryType,
        accessibletext::Side side, int *startOffset, int *endOffset) const;
};
