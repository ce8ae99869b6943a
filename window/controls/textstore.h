// A multi-line text box that is never shown (it sits in a hidden frame): it
// only keeps a long fixed text for the handlers to read, so it needs none of
// a visible text box's editing and layout machinery.
#pragma once

#include <QWidget>

class TextStore : public QWidget
{
    Q_OBJECT

public:
    explicit TextStore(QString text, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }

private:
    QString m_text;
};
