// The one-line phone-number box. Every character typed into it, by key or by
// an input method, is first offered to a key-press handler that may cancel it
// by setting the code to 0. Text that arrives any other way (paste, drag and
// drop) keeps only its digits, full-width ones made ASCII; text without a
// digit is not taken at all, so it cannot replace the selected number.
#pragma once

#include <QLineEdit>

#include <functional>

class PhoneEdit : public QLineEdit
{
    Q_OBJECT

public:
    using KeyPressHandler = std::function<void(qint16 &keyAscii)>;

    explicit PhoneEdit(QWidget *parent = nullptr);

    void setKeyPressHandler(KeyPressHandler handler);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool admits(QChar character) const;

    KeyPressHandler m_keyPress;
};
