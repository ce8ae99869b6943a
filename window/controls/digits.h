// The digits the phone box keeps of text that is not typed (pasted, dropped,
// or written by assistive technology): the decimal digits of every script
// (full-width, Arabic-Indic, Persian, Devanagari, Bengali and all others
// that Unicode counts as decimal digits), each as the ASCII digit of the same
// value, in order; nothing else.
#pragma once

#include <QString>
#include <QStringView>

namespace digits {

// Whether text holds a decimal digit of any script.
bool anyIn(QStringView text);

// Text's decimal digits as ASCII ones. When position is given, an offset
// into text (a cursor), it becomes the same place among the digits kept.
QString keptOf(QStringView text, qsizetype *position = nullptr);

} // namespace digits
