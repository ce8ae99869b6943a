#include "window/controls/digits.h"

namespace {

// Calls visit(value, from, to) for each character of text, whole: a pair of
// surrogates is one character, a lone surrogate one that is not a digit.
template<typename Visit> void forEachCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        char32_t value = text[i].unicode();
        qsizetype next = i + 1;
        if (QChar::isHighSurrogate(value) && next < text.size() && text[next].isLowSurrogate()) {
            value = QChar::surrogateToUcs4(text[i], text[next]);
            ++next;
        }
        if (!visit(value, i, next))
            return;
        i = next;
    }
}

// A decimal digit's value, or -1. Other numbers (superscripts, circled
// digits, Roman numerals, ideographs) are not digits.
int digitValue(char32_t character)
{
    return QChar::category(character) == QChar::Number_DecimalDigit ? QChar::digitValue(character)
                                                                    : -1;
}

} // namespace

namespace digits {

bool anyIn(QStringView text)
{
    bool found = false;
    forEachCharacter(text, [&found](char32_t character, qsizetype, qsizetype) {
        found = digitValue(character) >= 0;
        return !found;
    });
    return found;
}

QString keptOf(QStringView text, qsizetype *position)
{
    QString kept;
    qsizetype keptBeforePosition = 0;
    forEachCharacter(text, [&](char32_t character, qsizetype from, qsizetype) {
        if (const int value = digitValue(character); value >= 0) {
            kept.append(QChar(u'0' + value));
            if (position && from < *position)
                keptBeforePosition = kept.size();
        }
        return true;
    });
    if (position)
        *position = keptBeforePosition;
    return kept;
}

} // namespace digits
