#include "window/controls/textstore.h"

#include <utility>

TextStore::TextStore(QString text, QWidget *parent)
    : QWidget(parent)
    , m_text(std::move(text))
{ }
