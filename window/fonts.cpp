#include "fonts.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace fonts {

namespace {

const QString kSong = u"宋体"_s;
const QString kKai = u"楷体_GB2312"_s;
const QString kCenturyGothic = u"Century Gothic"_s;

} // namespace

void installSubstitutions()
{
    // A Song (Ming) face, a Kai face and URW Gothic are the free designs of
    // the three; the later names are further fallbacks.
    // Any Chinese face is better than a Western one, whose Latin letters are
    // wider than the layout allows.
    const QStringList chinese { u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s,
        u"WenQuanYi Zen Hei"_s, u"Droid Sans Fallback"_s };
    QFont::insertSubstitutions(
        kSong, QStringList { u"SimSun"_s, u"AR PL UMing CN"_s, u"AR PL UKai CN"_s } + chinese);
    QFont::insertSubstitutions(kKai,
        QStringList { u"KaiTi"_s, u"KaiTi_GB2312"_s, u"AR PL UKai CN"_s, u"AR PL UMing CN"_s }
            + chinese);
    QFont::insertSubstitutions(
        kCenturyGothic, { u"URW Gothic"_s, u"TeX Gyre Adventor"_s, u"DejaVu Sans"_s });
}

QFont window()
{
    return QFont(kSong, 9);
}

QFont title()
{
    return QFont(kSong, 12);
}

QFont link()
{
    QFont f(kKai, 9);
    f.setUnderline(true);
    return f;
}

QFont phoneBox()
{
    QFont f(kCenturyGothic, 9);
    f.setItalic(true);
    return f;
}

} // namespace fonts
