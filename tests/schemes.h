// Desktop colour schemes other than the light default, as a desktop's
// platform theme hands them to the toolkit: a dark one (Breeze Dark's colours)
// and a high-contrast inverse one (white and yellow on black).
#pragma once

#include <QApplication>
#include <QPalette>

#include <optional>

namespace schemes {

inline QPalette dark()
{
    QPalette palette(QColor(0xfc, 0xfc, 0xfc), QColor(0x20, 0x23, 0x26), QColor(0x40, 0x46, 0x4c),
        QColor(0x10, 0x12, 0x13), QColor(0x31, 0x36, 0x3b), QColor(0xfc, 0xfc, 0xfc),
        QColor(0x14, 0x16, 0x18));
    palette.setColor(QPalette::Button, QColor(0x29, 0x2c, 0x30));
    palette.setColor(QPalette::ButtonText, QColor(0xfc, 0xfc, 0xfc));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    palette.setColor(QPalette::HighlightedText, QColor(0xfc, 0xfc, 0xfc));
    return palette;
}

inline QPalette highContrast()
{
    QPalette palette(Qt::white, Qt::black, Qt::white, Qt::white, Qt::gray, Qt::yellow, Qt::black);
    palette.setColor(QPalette::Button, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::yellow);
    palette.setColor(QPalette::Highlight, Qt::cyan);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    return palette;
}

// The scheme PHONE_FORTUNE_TEST_SCHEME names ("dark", "high-contrast"), if any.
inline std::optional<QPalette> fromEnvironment()
{
    const QByteArray name = qgetenv("PHONE_FORTUNE_TEST_SCHEME");
    if (name == "dark")
        return dark();
    if (name == "high-contrast")
        return highContrast();
    return std::nullopt;
}

} // namespace schemes
