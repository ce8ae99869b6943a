#include "engine/mod_date.h"

#include <array>

namespace Mod_date {

namespace {

struct Row
{
    std::string_view verdict;
    std::string_view meaning;
};

// Rows for the keys 1 to 80, in order. Texts are kept exactly as written,
// including row 44's short meaning and row 48's full-width full stop.
constexpr std::array<Row, 80> kRows { {
    { "吉", "大展鸿图.可获成功" }, // 1
    { "凶", "一盛一衰.劳而无功" }, // 2
    { "吉", "蒸蒸日上.百事顺遂" }, // 3
    { "凶", "坎坷前途.苦难折磨" }, // 4
    { "吉", "生意欣荣.名利双收" }, // 5
    { "吉", "天降幸运.可成大功" }, // 6
    { "吉", "和气致祥.必获成功" }, // 7
    { "吉", "贯彻志望.成功可期" }, // 8
    { "凶", "独营无力.财利无望" }, // 9
    { "凶", "空费心力.徒劳无功" }, // 10
    { "吉", "稳健着实.必得人望" }, // 11
    { "凶", "薄弱无力.谋事难成" }, // 12
    { "吉", "天赋吉运.能得人望" }, // 13
    { "凶", "是成是败.惟靠坚毅" }, // 14
    { "吉", "大事成就.一定兴隆" }, // 15
    { "吉", "成就大业.名利双收" }, // 16
    { "吉", "有贵人助.可得成功" }, // 17
    { "吉", "顺利昌隆.百事亨通" }, // 18
    { "凶", "内外不合.障碍重重" }, // 19
    { "凶", "历尽艰难.焦心忧劳" }, // 20
    { "吉", "专心经营.善用智慧" }, // 21
    { "凶", "怀才不遇.事不如意" }, // 22
    { "吉", "名显四方.终成大业" }, // 23
    { "吉", "须靠自力.能奏大功" }, // 24
    { "吉", "天时地利.再得人格" }, // 25
    { "凶", "波澜起伏.凌驾万难" }, // 26
    { "凶带吉", "一盛一衰.可守成功" }, // 27
    { "吉", "青云直上.才略奏功" }, // 28
    { "凶", "吉凶参半.得失相伴" }, // 29
    { "吉", "名利双收.大业成就" }, // 30
    { "吉", "池中之龙.成功可望" }, // 31
    { "吉", "智慧慎始.必可昌隆" }, // 32
    { "凶", "灾难不绝.难望成功" }, // 33
    { "吉", "中吉之数.进退保守" }, // 34
    { "凶", "波澜重叠.常陷穷困" }, // 35
    { "吉", "逢凶化吉.风调雨顺" }, // 36
    { "凶带吉", "名虽可得.利则难获" }, // 37
    { "吉", "光明坦途.指日可待" }, // 38
    { "吉带凶", "一盛一衰.浮沉不定" }, // 39
    { "吉", "天赋吉运.前途无限" }, // 40
    { "吉带凶", "事业不专.十九不成" }, // 41
    { "吉带凶", "忍耐自重.转凶为吉" }, // 42
    { "凶", "事难遂愿.贪功好进" }, // 43
    { "吉", "绿叶发枝.一举擅" }, // 44
    { "凶", "坎坷不平.艰难重重" }, // 45
    { "吉", "有贵人助.可成大业" }, // 46
    { "吉", "名利俱全.繁荣富贵" }, // 47
    { "凶", "遇吉则吉．遇凶则凶" }, // 48
    { "吉带凶", "吉凶互见.一成一败" }, // 49
    { "吉带凶", "一盛一衰.浮沉不常" }, // 50
    { "吉", "雨过天青.即获成功" }, // 51
    { "吉带凶", "盛衰参半.先吉後凶" }, // 52
    { "凶", "虽倾全力.难望成功" }, // 53
    { "吉带凶", "外观隆昌.内隐祸患" }, // 54
    { "凶", "事与愿违.终难成功" }, // 55
    { "吉", "努力经营.时来运转" }, // 56
    { "凶带吉", "浮沉多端.始凶终吉" }, // 57
    { "凶", "遇事犹疑.难望成事" }, // 58
    { "凶", "心迷意乱.难定方针" }, // 59
    { "吉带凶", "云遮半月.百隐风波" }, // 60
    { "凶", "烦闷懊恼.事事难展" }, // 61
    { "吉", "万物化育.繁荣之象" }, // 62
    { "凶", "十九不成.徒劳无功" }, // 63
    { "吉", "吉运自来.能享盛名" }, // 64
    { "凶", "内外不和.信用缺乏" }, // 65
    { "吉", "事事如意.富贵自来" }, // 66
    { "吉", "不失先机.可望成功" }, // 67
    { "凶", "动摇不安.常陷逆境" }, // 68
    { "凶", "惨淡经营.难免贫困" }, // 69
    { "吉带凶", "吉凶参半.惟赖勇气" }, // 70
    { "凶", "得而复失.难以安顺" }, // 71
    { "吉", "安乐自来.自然吉祥" }, // 72
    { "凶", "如无智谋.难望成功" }, // 73
    { "吉带凶", "吉中带凶.进不如守" }, // 74
    { "凶", "此数大凶.破产之象" }, // 75
    { "吉带凶", "先苦後甘.不致失败" }, // 76
    { "吉带凶", "有得有失.华而不实" }, // 77
    { "凶", "前途无光.希望不大" }, // 78
    { "吉带凶", "得而复失.枉费心机" }, // 79
    { "吉", "最极之数.能得成功" }, // 80
} };

// Every value equal to no key: 0, above 80, negative, fractional, NaN.
constexpr Row kFallback { "大吉", "非凡特质,名人猛人" };

// The one place that decides which row a value selects, so the verdict and
// the meaning always come from the same row.
constexpr const Row &rowFor(double number) noexcept
{
    // A value selects the row of the key it is numerically equal to. Every
    // comparison with NaN is false, so NaN falls through to the fallback.
    if (number >= 1.0 && number <= static_cast<double>(kRows.size())) {
        const auto key = static_cast<std::size_t>(number);
        if (static_cast<double>(key) == number)
            return kRows[key - 1];
    }
    return kFallback;
}

} // namespace

std::string_view FortuneVerdict(double number) noexcept
{
    return rowFor(number).verdict;
}

std::string_view FortuneText(double number) noexcept
{
    return rowFor(number).meaning;
}

} // namespace Mod_date
