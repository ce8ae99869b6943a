#include "window/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace fonts {

namespace {

const QString kSong = u"宋体"_s;
const QString kKai = u"楷体_GB2312"_s;
const QString kCenturyGothic = u"Century Gothic"_s;

// Any Chinese face is better than a Western one, whose Latin letters are
// wider than the layout allows.
QStringList chineseFaces()
{
    return { u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s, u"WenQuanYi Zen Hei"_s,
        u"Droid Sans Fallback"_s };
}

// Each design's face, then those that stand in for it, in order: a Song
// (Ming) face, a Kai face and URW Gothic are the free designs of the three;
// the later names are further fallbacks.
QStringList songFaces()
{
    return QStringList { kSong, u"SimSun"_s, u"AR PL UMing CN"_s, u"AR PL UKai CN"_s }
    + chineseFaces();
}
QStringList kaiFaces()
{
    return QStringList { kKai, u"KaiTi"_s, u"KaiTi_GB2312"_s, u"AR PL UKai CN"_s,
        u"AR PL UMing CN"_s }
    + chineseFaces();
}
QStringList gothicFaces()
{
    return { kCenturyGothic, u"URW Gothic"_s, u"TeX Gyre Adventor"_s, u"DejaVu Sans"_s };
}

// The first of faces that the system has, or the design's own name where it
// has none (the toolkit then falls back as it can): the face the toolkit's
// substitution would choose, asked for by its own name. A name the system
// lacks costs the toolkit a second search through every installed face for
// its fallbacks, for each script it is first used in, before the substitute
// is found: with the thousands of faces of a Chinese desktop, tens of
// milliseconds before the window shows.
QString installed(const QStringList &faces)
{
    const auto found = std::find_if(faces.cbegin(), faces.cend(),
        [](const QString &face) { return QFontDatabase::hasFamily(face); });
    return found == faces.cend() ? faces.first() : *found;
}

} // namespace

void installSubstitutions()
{
    QFont::insertSubstitutions(kSong, songFaces().mid(1));
    QFont::insertSubstitutions(kKai, kaiFaces().mid(1));
    QFont::insertSubstitutions(kCenturyGothic, gothicFaces().mid(1));
}

QFont window()
{
    static const QString song = installed(songFaces());
    return QFont(song, 9);
}

QFont title()
{
    return QFont(window().family(), 12);
}

QFont link()
{
    static const QString kai = installed(kaiFaces());
    QFont f(kai, 9);
    f.setUnderline(true);
    return f;
}

QFont phoneBox()
{
    static const QString gothic = installed(gothicFaces());
    QFont f(gothic, 9);
    f.setItalic(true);
    return f;
}

} // namespace fonts
