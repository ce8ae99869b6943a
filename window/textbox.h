// A multi-line text box whose text, like the texts it shows, breaks lines with
// CR LF.
#pragma once

#include <QPlainTextEdit>

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
};
