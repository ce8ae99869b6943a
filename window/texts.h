// The window's long fixed texts. Multi-line texts break lines with CR LF and
// end with CR LF.
#pragma once

#include <QString>

namespace texts {

extern const QString kQuestion;
extern const QString kNumberTrick;
extern const QString kAnswerA;
extern const QString kAnswerB;
extern const QString kAnswerC;
extern const QString kAnswerD;
extern const QString kContact;
extern const QString kSampleNumber;
extern const QString kCopyright;

} // namespace texts
