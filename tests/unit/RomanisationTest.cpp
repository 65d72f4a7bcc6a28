#include "dictionary/text/Romanisation.h"
#include "pages/builders/PlainListPage.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quillory {
namespace {

// Packs an id by hand, the way the data files store it.
SyllableId Id(int initial, int finalPosition, int tone) {
    return static_cast<SyllableId>(((initial * 8 + tone) << 8) | (((initial >> 4) & 1) << 7) |
                                   (((tone >> 1) & 1) << 6) | finalPosition);
}

QString U(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

const std::vector<std::string> kPinyinInitials = {"ch", "sh", "zh", "b", "c", "d", "f", "g",
                                                  "h",  "j",  "k",  "l", "m", "n", "p", "q",
                                                  "r",  "s",  "t",  "w", "x", "y", "z"};
const std::vector<std::string> kPinyinFinals = {"a",    "ai", "an", "ang", "ao",   "e",   "ei",  "en",  "eng",
                                                "er",   "i",  "ia", "ian", "iang", "iao", "ie",  "in",  "ing",
                                                "iong", "iu", "o",  "ong", "ou",   "u",   "ua",  "uai", "uan",
                                                "uang", "ue", "ui", "un",  "uo",   "v",   "van", "ve",  "vn"};
const std::vector<std::string> kJyutpingInitials = {"gw", "kw", "ng", "c", "b", "d", "f", "g", "h", "z",
                                                    "k",  "l",  "m",  "n", "p", "s", "t", "w", "j"};
const std::vector<std::string> kJyutpingFinals = {
    "aa", "aai", "aak", "aam", "aan", "aang", "aap", "aat", "aau", "ai",  "ak",  "am",  "an",  "ang",  "ap",
    "at", "au",  "e",   "ei",  "ek",  "en",   "eng", "ep",  "et",  "oe",  "eoi", "oek", "eon", "oeng", "eot",
    "i",  "ik",  "im",  "in",  "ing", "ip",   "it",  "iu",  "o",   "oi",  "ok",  "om",  "on",  "ong",  "ot",
    "ou", "u",   "ui",  "uk",  "un",  "ung",  "ut",  "yu",  "yun", "yut", "m",   "ng",  "eu",  "em"};

TEST(ToneDigit, LastCharacterWithinSchemeRange) {
    EXPECT_EQ(PinyinTone("zhong1"), 1);
    EXPECT_EQ(PinyinTone("ma5"), 5);
    EXPECT_EQ(PinyinTone("zung6"), 0);
    EXPECT_EQ(JyutpingTone("zung6"), 6);
    EXPECT_EQ(JyutpingTone("zung7"), 0);
    EXPECT_EQ(PinyinTone("ma0"), 0);
    EXPECT_EQ(PinyinTone("ma"), 0);
    EXPECT_EQ(PinyinTone(""), 0);
    EXPECT_EQ(JyutpingTone(""), 0);
    EXPECT_EQ(PinyinTone("1ma"), 0);
}

TEST(EncodeSyllable, StoredLayout) {
    EXPECT_EQ(EncodeSyllable("zhong1", Scheme::Pinyin), SyllableId{0x1916});
    EXPECT_EQ(EncodeSyllable("a1", Scheme::Pinyin), SyllableId{0x0101});
    // z (10), ung (51), tone 6: tone bit 1 repeated in bit 6.
    EXPECT_EQ(EncodeSyllable("zung6", Scheme::Jyutping), SyllableId{0x5673});
    // j (19) has bit 4 set, repeated in bit 7.
    EXPECT_EQ(EncodeSyllable("jyut6", Scheme::Jyutping), SyllableId{0x9EF7});
    // Table ends pin the stored positions.
    EXPECT_EQ(EncodeSyllable("chvn2", Scheme::Pinyin), Id(1, 36, 2));
    EXPECT_EQ(EncodeSyllable("za3", Scheme::Pinyin), Id(23, 1, 3));
    EXPECT_EQ(EncodeSyllable("gwaa1", Scheme::Jyutping), Id(1, 1, 1));
    EXPECT_EQ(EncodeSyllable("jem5", Scheme::Jyutping), Id(19, 59, 5));
    // Longer initials are tried first.
    EXPECT_EQ(EncodeSyllable("shi4", Scheme::Pinyin), Id(2, 11, 4));
    EXPECT_EQ(EncodeSyllable("ngaa4", Scheme::Jyutping), Id(3, 1, 4));
    EXPECT_EQ(EncodeSyllable("nv3", Scheme::Pinyin), Id(14, 33, 3));
}

TEST(EncodeSyllable, TrimsBlanksButKeepsCase) {
    EXPECT_EQ(EncodeSyllable(" \tzhong1\n ", Scheme::Pinyin), SyllableId{0x1916});
    EXPECT_EQ(EncodeSyllable("Zhong1", Scheme::Pinyin), std::nullopt);
}

TEST(EncodeSyllable, RefusesWhatIsNoSyllable) {
    EXPECT_EQ(EncodeSyllable("zhong6", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("zhong", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("zhongx1", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("zh1", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("1", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable(" \t\n", Scheme::Jyutping), std::nullopt);
    // A text longer than a syllable can be is refused, never cut to a syllable.
    const std::string longText = std::string(94, ' ') + "zhong1" + std::string(20, 'x');
    EXPECT_EQ(EncodeSyllable(longText, Scheme::Pinyin), std::nullopt);
}

TEST(EncodeSyllable, SyllablicNasalsHaveNoInitial) {
    // m and ng spelled alone are the finals m (56) and ng (57).
    EXPECT_EQ(EncodeSyllable("m4", Scheme::Jyutping), Id(0, 56, 4));
    EXPECT_EQ(EncodeSyllable("ng4", Scheme::Jyutping), Id(0, 57, 4));
    EXPECT_EQ(EncodeSyllable("ng5", Scheme::Jyutping), Id(0, 57, 5));
    EXPECT_EQ(EncodeSyllable("ng6", Scheme::Jyutping), Id(0, 57, 6));
    EXPECT_EQ(DecodeSyllable(Id(0, 56, 4), Scheme::Jyutping), "m4");
    EXPECT_EQ(DecodeSyllable(Id(0, 57, 5), Scheme::Jyutping), "ng5");
    // With a real initial in front they stay finals after it.
    EXPECT_EQ(EncodeSyllable("hm4", Scheme::Jyutping), Id(9, 56, 4));
    EXPECT_EQ(EncodeSyllable("mui4", Scheme::Jyutping), Id(13, 48, 4));
    // Pinyin has no such finals.
    EXPECT_EQ(EncodeSyllable("m2", Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(EncodeSyllable("n2", Scheme::Pinyin), std::nullopt);
}

TEST(DecodeSyllable, KnownIds) {
    EXPECT_EQ(DecodeSyllable(0x1916, Scheme::Pinyin), "zhong1");
    EXPECT_EQ(DecodeSyllable(0x0101, Scheme::Pinyin), "a1");
    EXPECT_EQ(DecodeSyllable(0x9EF7, Scheme::Jyutping), "jyut6");
    // The repeated bits 6 and 7 are ignored.
    EXPECT_EQ(DecodeSyllable(0x9E37, Scheme::Jyutping), "jyut6");
    EXPECT_EQ(DecodeSyllable(0x19D6, Scheme::Pinyin), "zhong1");
}

TEST(DecodeSyllable, InvalidIds) {
    EXPECT_EQ(DecodeSyllable(Id(3, 37, 1), Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(3, 60, 1), Scheme::Jyutping), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(3, 63, 1), Scheme::Jyutping), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(24, 1, 1), Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(20, 1, 1), Scheme::Jyutping), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(31, 1, 1), Scheme::Jyutping), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(3, 22, 0), Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(3, 22, 6), Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(10, 51, 7), Scheme::Jyutping), std::nullopt);
    EXPECT_EQ(DecodeSyllable(Id(0, 0, 1), Scheme::Pinyin), std::nullopt);
    EXPECT_EQ(DecodeSyllable(0, Scheme::Jyutping), std::nullopt);
}

void ExpectRoundTrip(const std::vector<std::string>& initials, const std::vector<std::string>& finals,
                     Scheme scheme, int maxTone) {
    std::set<SyllableId> seen;
    std::vector<std::string> withNone = initials;
    withNone.insert(withNone.begin(), "");
    for (const std::string& initial : withNone) {
        for (const std::string& final : finals) {
            for (int tone = 1; tone <= maxTone; ++tone) {
                const std::string text = initial + final + std::to_string(tone);
                const std::optional<SyllableId> id = EncodeSyllable(text, scheme);
                ASSERT_TRUE(id.has_value()) << text;
                EXPECT_EQ(DecodeSyllable(*id, scheme), text) << text;
                EXPECT_TRUE(seen.insert(*id).second) << "id reused by " << text;
                // Ids survive having their repeated bits cleared.
                EXPECT_EQ(DecodeSyllable(static_cast<SyllableId>(*id & ~0xC0), scheme), text) << text;
            }
        }
    }
}

TEST(SyllableRoundTrip, EveryPinyinCombination) {
    ExpectRoundTrip(kPinyinInitials, kPinyinFinals, Scheme::Pinyin, 5);
}

TEST(SyllableRoundTrip, EveryJyutpingCombination) {
    ExpectRoundTrip(kJyutpingInitials, kJyutpingFinals, Scheme::Jyutping, 6);
}

TEST(MarkSyllableUnicode, VowelTakesTheMark) {
    EXPECT_EQ(MarkSyllableUnicode(u"zhong1"), U(u"zh\u014Dng"));
    EXPECT_EQ(MarkSyllableUnicode(u"nv3"), U(u"n\u01DA"));
    EXPECT_EQ(MarkSyllableUnicode(u"lv4"), U(u"l\u01DC"));
    EXPECT_EQ(MarkSyllableUnicode(u"lv5"), U(u"l\u00FC"));
    EXPECT_EQ(MarkSyllableUnicode(u"ma5"), U(u"ma"));
    EXPECT_EQ(MarkSyllableUnicode(u"lve4"), U(u"l\u00FC\u00E8"));
    EXPECT_EQ(MarkSyllableUnicode(u"gui4"), U(u"gu\u00EC"));
    EXPECT_EQ(MarkSyllableUnicode(u"liu2"), U(u"l\u00EDu"));
    EXPECT_EQ(MarkSyllableUnicode(u"hao3"), U(u"h\u01CEo"));
    EXPECT_EQ(MarkSyllableUnicode(u" \tNI3\n"), U(u"n\u01D0"));
    // No markable letter: the digit goes, nothing is marked.
    EXPECT_EQ(MarkSyllableUnicode(u"r5"), U(u"r"));
}

TEST(MarkSyllableUnicode, NasalsGetProperMarks) {
    EXPECT_EQ(MarkSyllableUnicode(u"m2"), U(u"\u1E3F"));
    EXPECT_EQ(MarkSyllableUnicode(u"n2"), U(u"\u0144"));
    EXPECT_EQ(MarkSyllableUnicode(u"n3"), U(u"\u0148"));
    EXPECT_EQ(MarkSyllableUnicode(u"ng4"), U(u"\u01F9g"));
    EXPECT_EQ(MarkSyllableUnicode(u"ng2"), U(u"\u0144g"));
    EXPECT_EQ(MarkSyllableUnicode(u"m1"), U(u"m\u0304"));
    EXPECT_EQ(MarkSyllableUnicode(u"hm3"), U(u"hm\u030C"));
    EXPECT_EQ(MarkSyllableUnicode(u"hm4"), U(u"hm\u0300"));
    EXPECT_EQ(MarkSyllableUnicode(u"ng1"), U(u"n\u0304g"));
    EXPECT_EQ(MarkSyllableUnicode(u"hng5"), U(u"hng"));
}

TEST(MarkSyllableUnicode, Failures) {
    EXPECT_EQ(MarkSyllableUnicode(u"ma"), std::nullopt);
    EXPECT_EQ(MarkSyllableUnicode(u"ma6"), std::nullopt);
    EXPECT_EQ(MarkSyllableUnicode(u""), std::nullopt);
    EXPECT_EQ(MarkSyllableUnicode(u"1"), std::nullopt);
    EXPECT_EQ(MarkSyllableUnicode(u"01"), std::nullopt);
    EXPECT_EQ(MarkSyllableUnicode(u"\u7B2C1"), std::nullopt);
    const QString tooLong = QString(100, QChar(u'a')) + QChar(u'1');
    EXPECT_EQ(MarkSyllableUnicode(tooLong), std::nullopt);
}

TEST(MarkSyllableFont, FontCodes) {
    EXPECT_EQ(MarkSyllableFont(u"hm4"), U(u"h\u00DB"));
    EXPECT_EQ(MarkSyllableFont(u"a1"), U(u"\u00C0"));
    EXPECT_EQ(MarkSyllableFont(u"zhong1"), U(u"zh\u00CCng"));
    EXPECT_EQ(MarkSyllableFont(u"nv3"), U(u"n\u00D6"));
    EXPECT_EQ(MarkSyllableFont(u"lve4"), U(u"l\u00BF\u00C7"));
    EXPECT_EQ(MarkSyllableFont(u"lv5"), U(u"l\u00BF"));
    EXPECT_EQ(MarkSyllableFont(u"n2"), U(u"\u00DD"));
    EXPECT_EQ(MarkSyllableFont(u"gui4"), U(u"gu\u00CB"));
    // Outside Latin-1 the font has no codes.
    EXPECT_EQ(MarkSyllableFont(u"\u4E2Dma1"), std::nullopt);
}

TEST(MarkPinyinText, UnicodeForm) {
    EXPECT_EQ(MarkPinyinUnicode(u"ni3 hao3"), U(u"n\u01D0 h\u01CEo"));
    EXPECT_EQ(MarkPinyinUnicode(u"chapter 1"), U(u"chapter 1"));
    EXPECT_EQ(MarkPinyinUnicode(u"Zhong1guo2 ren2"), U(u"zh\u014Dnggu\u00F3 r\u00E9n"));
    EXPECT_EQ(MarkPinyinUnicode(u"ni3\thao3\nma5?"), U(u"n\u01D0\th\u01CEo\nma?"));
    EXPECT_EQ(MarkPinyinUnicode(u"ni3\r\nhao3"), U(u"n\u01D0\r\nh\u01CEo"));
    EXPECT_EQ(MarkPinyinUnicode(u"wo3 ai4 ni3."), U(u"w\u01D2 \u00E0i n\u01D0."));
    EXPECT_EQ(MarkPinyinUnicode(u"  ma1  "), U(u"  m\u0101  "));
    // Digits 6-9 and 0 never end a syllable.
    EXPECT_EQ(MarkPinyinUnicode(u"ma6 ma0"), U(u"ma6 ma0"));
    EXPECT_EQ(MarkPinyinUnicode(u""), QString());
}

TEST(MarkPinyinText, NumbersAndChineseKeepTheirDigits) {
    EXPECT_EQ(MarkPinyinUnicode(u"room 101"), U(u"room 101"));
    EXPECT_EQ(MarkPinyinUnicode(u"2013"), U(u"2013"));
    EXPECT_EQ(MarkPinyinUnicode(u"3.14"), U(u"3.14"));
    EXPECT_EQ(MarkPinyinUnicode(u"\u7B2C1\u8BFE"), U(u"\u7B2C1\u8BFE"));
    EXPECT_EQ(MarkPinyinFont(u"(1) ni3"), U(u"(1) n\u00CA"));
}

TEST(MarkPinyinText, FontForm) {
    EXPECT_EQ(MarkPinyinFont(u"ni3 hao3"), U(u"n\u00CA h\u00C2o"));
    EXPECT_EQ(MarkPinyinFont(u"ma\\1"), U(u"ma1"));
    EXPECT_EQ(MarkPinyinFont(u"ma\\1 ma1"), U(u"ma1 m\u00C0"));
    EXPECT_EQ(MarkPinyinFont(u"a\\b\\2"), U(u"ab2"));
    // Chinese text in the same piece cannot be marked and stays as it is.
    EXPECT_EQ(MarkPinyinFont(u"\u4E2D\u6587zhong1"), U(u"\u4E2D\u6587zhong1"));
    EXPECT_EQ(MarkPinyinFont(u"\u4E2D\u6587 zhong1"), U(u"\u4E2D\u6587 zh\u00CCng"));
    // Tree labels: the toneless syllable with tone 5.
    EXPECT_EQ(MarkPinyinFont(u"lv5"), U(u"l\u00BF"));
    // The backslash rule is the font form's only.
    EXPECT_EQ(MarkPinyinUnicode(u"ma\\1"), U(u"m\u0101\\"));
}

TEST(PlainListPage, HeadingsAndLabels) {
    PlainListPage pinyin;
    pinyin.OpenPinyinPage("lve4");
    pinyin.AddPinyinSection("lve4", {0x7565});
    EXPECT_EQ(pinyin.heading, U(u"l\u00FCe"));
    ASSERT_EQ(pinyin.sections.size(), 1u);
    EXPECT_EQ(pinyin.sections[0].label, U(u"lve4"));
    EXPECT_EQ(pinyin.sections[0].chars, CharacterList{0x7565});

    PlainListPage jyutping;
    jyutping.OpenJyutpingPage("zung1");
    EXPECT_EQ(jyutping.heading, U(u"zung"));

    PlainListPage radical;
    radical.OpenRadicalPage({0x6C34, 0x6C35});
    radical.AddRadicalGroup(12, {0x6F22});
    radical.AddStrokeSection(4, {0x4E2D});
    EXPECT_EQ(radical.forms, (CharacterList{0x6C34, 0x6C35}));
    ASSERT_EQ(radical.sections.size(), 2u);
    EXPECT_EQ(radical.sections[0].label, U(u"12"));
    EXPECT_EQ(radical.sections[1].label, U(u"4"));
    EXPECT_TRUE(radical.heading.isEmpty());
}

// The font form carried back to Unicode marks gives what Unicode marking gives
// directly, for every syllable shape: plain vowels, ü, and marks on m and n.
TEST(FontFormToUnicode, AgreesWithUnicodeMarking) {
    const QStringList texts = {QStringLiteral("zhong1 guo2"), QStringLiteral("lv4 nv3 lve4"),
                               QStringLiteral("hm4 m2 n3 ng4"), QStringLiteral("ma5 lv5 gui4 liu2"),
                               QStringLiteral("room 101, chapter 1")};
    for (const QString& text : texts) {
        EXPECT_EQ(FontFormToUnicode(MarkPinyinFont(text)), MarkPinyinUnicode(text)) << text.toStdString();
    }
    // Text outside the font's codes (U+00BF..U+00DF) passes unchanged.
    EXPECT_EQ(FontFormToUnicode(u"中文 café ~"), QStringLiteral("中文 café ~"));
}

} // namespace
} // namespace quillory
