#include "textstore.h"

TextStore::TextStore(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{ }
