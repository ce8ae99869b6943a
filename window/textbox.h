// A multi-line text box whose text, like the texts it shows, breaks lines with
// CR LF. Text given to it while it is not shown is laid out when it is.
#pragma once

#include <QPlainTextEdit>

#include <optional>

class TextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    QString text() const;
    void setText(const QString &text);

protected:
    // Pasted or dropped data without text inserts nothing.
    void insertFromMimeData(const QMimeData *source) override;
    void showEvent(QShowEvent *event) override;

private:
    void layOut(const QString &plain);

    std::optional<QString> m_unshown; // the text, until the box is first shown
};
