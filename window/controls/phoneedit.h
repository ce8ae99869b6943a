// The one-line phone-number box. Every character typed into it, by key or by
// an input method, is first offered to a key-press handler that may cancel it
// by setting the code to 0. Text that arrives any other way (paste, drag and
// drop, assistive technology) keeps only its digits, of any script, made
// ASCII; text without a digit is not taken at all, so it cannot replace the
// selected number.
//
// The box has no length limit. A number far longer than the box (megabytes
// of pasted digits) is drawn from the few digits in view, by the box itself:
// the toolkit's own drawing measures the whole text each time the box is
// drawn, every blink of the cursor included.
#pragma once

#include <QLineEdit>

#include <functional>

class QTextLayout;

class PhoneEdit : public QLineEdit
{
    Q_OBJECT

public:
    using KeyPressHandler = std::function<void(qint16 &keyAscii)>;

    // Longer than this, a number is drawn by the box itself; many times what
    // the box shows, so that the toolkit draws every number a person types.
    static constexpr int kLongNumber = 4096;

    explicit PhoneEdit(QWidget *parent = nullptr);
    ~PhoneEdit() override;

    void setKeyPressHandler(KeyPressHandler handler);

    // Replaces [start, end) of the number (0 <= start <= end <= its length)
    // with text as a paste would: only its digits are kept, and text without
    // one changes nothing. For assistive technology, which edits the box
    // without keys, and whose requests are brought inside the number first.
    void replaceText(int start, int end, const QString &text);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    bool admits(QChar character) const;
    void holdCursorSteady();

    // For a long number: the area its digits are drawn in, the digits in
    // view laid out from the first shown, and the position under x.
    bool isLong() const;
    QRect textArea() const;
    void keepCursorShown();
    void layOutShown(QTextLayout &layout) const;
    int positionAt(qreal x) const;

    int m_firstShown = 0; // of a long number, the first digit in view
    qreal m_scrolled = 0; // and how much of it is scrolled out of view
    int m_anchor = 0; // where a selection by the mouse began

    bool m_steadyCursor = false; // the application's cursors held steady for a long number
    int m_flashTime = 0; // and their flash time before

    KeyPressHandler m_keyPress;
};
