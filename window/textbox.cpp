#include "textbox.h"

using namespace Qt::Literals::StringLiterals;

TextBox::TextBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    // As in any dialog's text box, Tab moves on to the next control.
    setTabChangesFocus(true);
    // Text starts right inside the border, as in a classic edit control.
    document()->setDocumentMargin(1);
}

QString TextBox::text() const
{
    return toPlainText().replace(u'\n', u"\r\n"_s);
}

void TextBox::setText(const QString &text)
{
    setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s));
}
