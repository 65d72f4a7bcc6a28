// Romanised queries read as Pinyin and Jyutping: what parses, into which
// letters and syllable counts, and which stored readings fit.
#include "dictionary/search/RomanQuery.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

constexpr Scheme P = Scheme::Pinyin;
constexpr Scheme J = Scheme::Jyutping;

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Tone digits, marks (any case), ü spellings, separators; letters are the
// index key, syllable counts the fewest of any split.
TEST(RomanQuery, ParsesTypedSpellingsToLettersAndSyllables) {
    const struct {
        const char* text;
        Scheme scheme;
        const char* letters;
        int syllables;
        bool tones;
        bool single;
    } cases[] = {
        {"zhong1wen2", P, "zhongwen", 2, true, false}, {"zhong1 wen2", P, "zhongwen", 2, true, false},
        {"Zhōngwén", P, "zhongwen", 2, true, false},   {"ZHŌNGWÉN", P, "zhongwen", 2, true, false},
        {"Zhongwen", P, "zhongwen", 2, false, false},  {"lvyou", P, "lvyou", 2, false, false},
        {"lu:3you2", P, "lvyou", 2, true, false},      {"lǚyóu", P, "lvyou", 2, true, false},
        {"lüyou", P, "lvyou", 2, false, false},        {"xian", P, "xian", 1, false, true},
        {"xi'an", P, "xian", 2, false, false},         {"xi’an", P, "xian", 2, false, false},
        {"xi-an", P, "xian", 2, false, false},         {"  ma0 ", P, "ma", 1, true, true},
        {"yi1dian3r", P, "yidianr", 3, true, false},   {"nei5hou2", J, "neihou", 2, true, false},
        {"m4 goi1", J, "mgoi", 2, true, false},        {"sik6 faan6", J, "sikfaan", 2, true, false},
        {"zung1", J, "zung", 1, true, true},
    };
    for (const auto& c : cases) {
        const std::optional<RomanQuery> query = RomanQuery::Parse(S(c.text), c.scheme);
        ASSERT_TRUE(query) << c.text;
        EXPECT_EQ(query->letters(), S(c.letters)) << c.text;
        EXPECT_EQ(query->fewestSyllables(), c.syllables) << c.text;
        EXPECT_EQ(query->hasTones(), c.tones) << c.text;
        EXPECT_EQ(query->isSingleSyllable(), c.single) << c.text;
    }
}

// Texts that are no reading of the scheme.
TEST(RomanQuery, RefusesTextsThatAreNoReading) {
    const struct {
        const char* text;
        Scheme scheme;
    } cases[] = {
        {"", P},         {" ' ", P},       {"hello", P},
        {"bank", P},     {"3ma", P},       {"ma33", P},
        {"ma6", P},      {"zhong!", P},    {"ma\xcc\x8c\xcc\x80", P},
        {"ma 1", P},     {"sik6faan6", P}, {"ma0", J},
        {"nei7", J},     {"lǚ", J},        {"lu:", J},
        {"zhongwen", J}, {"中文", P},      {"a:", P},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(RomanQuery::Parse(S(c.text), c.scheme)) << c.text;
    }
    EXPECT_FALSE(RomanQuery::Parse(QString(61, u'a'), P));
}

// A reading fits when every stated boundary is one of its syllable ends and
// every stated tone its syllable's; exact when every syllable's tone was
// stated. Without stated boundaries the letters split any way.
TEST(RomanQuery, ReadingsFitStatedBoundariesAndTones) {
    using F = ReadingFit;
    const struct {
        const char* query;
        Scheme scheme;
        const char* reading;
        ReadingFit fit;
    } cases[] = {
        {"xian", P, "xian1", F::Toneless},
        {"xian", P, "xi1 an1", F::Toneless},
        {"xi'an", P, "xian1", F::None},
        {"xi'an", P, "xi1 an1", F::Toneless},
        {"xian1", P, "xian1", F::Exact},
        {"xian1", P, "xi1 an1", F::Toneless},
        {"xian1", P, "xian4", F::None},
        {"xi1an1", P, "xi1 an1", F::Exact},
        {"xi1an1", P, "xian1", F::None},
        {"fangan", P, "fang1 an4", F::Toneless},
        {"fangan", P, "fan3 gan3", F::Toneless},
        {"fang'an", P, "fan3 gan3", F::None},
        {"fan3gan3", P, "fang1 an4", F::None},
        {"ni3hao3", P, "ni3 hao3", F::Exact},
        {"ni3hao3", P, "ni2 hao3", F::None},
        {"lǚyóu", P, "lv3 you2", F::Exact},
        {"lu:3you2", P, "lv3 you2", F::Exact},
        {"Zhongwen", P, "zhong1 wen2", F::Toneless},
        {"zhōngwen", P, "zhong1 wen2", F::Toneless},
        // Written with marks, an unmarked syllable is neutral.
        {"māma", P, "ma1 ma5", F::Exact},
        {"māma", P, "ma1 ma1", F::Toneless},
        {"māma", P, "ma3 ma5", F::None},
        {"ma0", P, "ma5", F::Exact},
        {"ma5", P, "ma", F::Exact},
        {"nei5 hou2", J, "nei5 hou2", F::Exact},
        {"nei5 hou2", J, "nei5 hou3", F::None},
        {"neihou", J, "nei5 hou2", F::Toneless},
        // Letters other than the query's never fit.
        {"ma", P, "ma1 ma1", F::None},
        {"mama", P, "ma1", F::None},
    };
    for (const auto& c : cases) {
        const std::optional<RomanQuery> query = RomanQuery::Parse(S(c.query), c.scheme);
        ASSERT_TRUE(query) << c.query;
        EXPECT_EQ(query->fit(S(c.reading)), c.fit) << c.query << " / " << c.reading;
    }
}

// A text being typed may end inside a syllable; what it states already
// holds for the readings it starts.
TEST(RomanQuery, PrefixesEndInsideASyllable) {
    EXPECT_FALSE(RomanQuery::Parse(S("zh"), P));
    EXPECT_FALSE(RomanQuery::Parse(S("zhx"), P, true));
    const struct {
        const char* prefix;
        const char* reading;
        ReadingFit fit;
        int syllables;
    } cases[] = {
        {"zh", "zhong1 wen2", ReadingFit::Toneless, 1},
        {"zhongw", "zhong1 wen2", ReadingFit::Toneless, 2},
        {"zhong1w", "zhong1 wen2", ReadingFit::Toneless, 2},
        {"zhong1w", "zhong4 wen2", ReadingFit::None, 2},
        {"ni3", "ni3 hao3", ReadingFit::Exact, 1},
        {"ni ", "nin2", ReadingFit::None, 1},
        {"ni ", "ni3 hao3", ReadingFit::Toneless, 1},
        {"zhongwen", "zhong", ReadingFit::None, 2},
    };
    for (const auto& c : cases) {
        const std::optional<RomanQuery> query = RomanQuery::Parse(S(c.prefix), P, true);
        ASSERT_TRUE(query) << c.prefix;
        EXPECT_EQ(query->fewestSyllables(), c.syllables) << c.prefix;
        EXPECT_EQ(query->fit(S(c.reading)), c.fit) << c.prefix << " / " << c.reading;
    }
}

TEST(RomanQuery, SyllableInventoriesFollowTheSchemes) {
    EXPECT_TRUE(IsSyllable(u"zhuang", P));
    EXPECT_TRUE(IsSyllable(u"lv", P));
    EXPECT_FALSE(IsSyllable(u"zh", P));
    EXPECT_FALSE(IsSyllable(u"zung", P));
    EXPECT_TRUE(IsSyllable(u"zung", J));
    EXPECT_TRUE(IsSyllable(u"m", J));
    EXPECT_TRUE(IsSyllableStart(u"zhu", P));
    EXPECT_FALSE(IsSyllableStart(u"zx", P));
}

} // namespace
} // namespace quillory
