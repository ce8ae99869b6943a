// The window as its design draws it, for the tests that look at it: its
// sizes, the places of the controls they use, and the colours of the skin's
// distinctive parts, in the window's own pixels.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace skin {

inline constexpr QSize kClosed(303, 200);
inline constexpr QSize kOpen(303, 371); // with the extra panel

inline constexpr QRect kPhoneBox(69, 37, 129, 18);
inline constexpr QRect kOutputBox(10, 64, 282, 113);
inline constexpr QRect kTestButton(210, 35, 81, 22);
inline constexpr QRect kQuizBox(5, 204, 293, 160); // in the extra panel
inline constexpr QPoint kAnswerB(18, 307); // the middle of answer B's box
inline constexpr QPoint kCloseMark(286, 12); // the middle of its cross
inline constexpr QPoint kLink(20, 186); // 其它功能
inline constexpr QPoint kTitle(100, 12); // on the title band, where it drags

inline const QColor kTitleBand(96, 96, 131);
inline const QColor kNavy(0, 0, 128); // the strips at the right and the bottom
inline const QColor kBody(136, 136, 207);
inline const QColor kCloseRed(199, 22, 22); // the close mark's edge
inline const QColor kLeftEdge(0, 0, 82);
inline const QColor kPhoneGround(192, 192, 192);
inline const QColor kQuestionBox(128, 128, 255);

} // namespace skin
