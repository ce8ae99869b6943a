#include "window/colours.h"

namespace colours {

QPalette light()
{
    // The toolkit's own light scheme: QFusionStyle::standardPalette() of Qt
    // 6.4, copied. From Qt 6.5 Fusion takes its colours from the desktop's
    // scheme (dark or high-contrast too), so the window states this one on
    // every Qt; tst_schemes compares the window under other schemes with it.
    const QColor windowText(Qt::black);
    const QColor window(239, 239, 239);
    const QColor dark = window.darker(150);
    const QColor mid = window.darker(130);
    const QColor disabledText(190, 190, 190);
    const QColor highlight(48, 140, 198);

    QPalette palette(windowText, window, window.lighter(150), dark, mid, Qt::black, Qt::white);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::BrightText, Qt::white);
    palette.setColor(QPalette::Shadow, dark.darker(135));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(247, 247, 247));
    palette.setColor(QPalette::Link, Qt::blue);
    palette.setColor(QPalette::LinkVisited, Qt::magenta);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(209, 209, 209).darker(110));
    palette.setColor(QPalette::Disabled, QPalette::Shadow, dark.darker(135).lighter(150));
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));

    // Every role of every group counts as the window's own, so that none is
    // taken from the desktop's.
    palette.setResolveMask(~QPalette::ResolveMask(0));
    return palette;
}

} // namespace colours
