// Pinyin and Jyutping syllables: ids, tone digits and tone marks.
#include "dictionary/text/Romanisation.h"
#include "tests/support/QtPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <set>
#include <string>

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

constexpr Scheme P = Scheme::Pinyin;
constexpr Scheme J = Scheme::Jyutping;

TEST(ToneDigit, LastCharacterWithinSchemeRange) {
    const struct {
        const char* text;
        int pinyin, jyutping;
    } cases[] = {{"zhong1", 1, 1}, {"ma5", 5, 5}, {"zung6", 0, 6}, {"zung7", 0, 0},
                 {"ma0", 0, 0},    {"ma", 0, 0},  {"", 0, 0},      {"1ma", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(PinyinTone(c.text), c.pinyin) << c.text;
        EXPECT_EQ(JyutpingTone(c.text), c.jyutping) << c.text;
    }
}

// Stored ids: tone bit 1 is repeated in bit 6 (zung6: z 10, ung 51), bit 4
// of the initial in bit 7 (jyut6: j 19); the table ends pin the stored
// positions (chvn2, za3, gwaa1, jem5); longer initials are tried first (shi4,
// ngaa4, nv3); syllabic nasals spelled alone are the finals m (56) and ng (57),
// after a real initial they stay finals (hm4, mui4). Decoding ignores the
// repeated bits (0x19D6).
TEST(Syllable, EncodedAndDecodedIds) {
    const struct {
        std::string text;
        Scheme scheme;
        SyllableId id;
    } cases[] = {{"zhong1", P, 0x1916},     {"a1", P, 0x0101},          {"zung6", J, 0x5673},
                 {"jyut6", J, 0x9EF7},      {"chvn2", P, Id(1, 36, 2)}, {"za3", P, Id(23, 1, 3)},
                 {"gwaa1", J, Id(1, 1, 1)}, {"jem5", J, Id(19, 59, 5)}, {"shi4", P, Id(2, 11, 4)},
                 {"ngaa4", J, Id(3, 1, 4)}, {"nv3", P, Id(14, 33, 3)},  {"m4", J, Id(0, 56, 4)},
                 {"ng5", J, Id(0, 57, 5)},  {"hm4", J, Id(9, 56, 4)},   {"mui4", J, Id(13, 48, 4)}};
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSyllable(c.text, c.scheme), c.id) << c.text;
        EXPECT_EQ(DecodeSyllable(c.id, c.scheme), c.text) << c.text;
    }
    EXPECT_EQ(EncodeSyllable(" \tzhong1\n ", P), SyllableId{0x1916});
    EXPECT_EQ(DecodeSyllable(0x19D6, P), "zhong1");
    EXPECT_EQ(DecodeSyllable(0x9E37, J), "jyut6");
}

// Refused: another case, no such tone, final or syllable, blanks only, and a
// text longer than a syllable can be (never cut to one).
TEST(Syllable, RefusedTextsAndInvalidIds) {
    for (const std::string& text :
         {std::string("Zhong1"), std::string("m2"), std::string("zhong6"), std::string("zhong"),
          std::string("zhongx1"), std::string("zh1"), std::string("1"), std::string(), std::string(" \t\n"),
          std::string(94, ' ') + "zhong1" + std::string(20, 'x')}) {
        EXPECT_EQ(EncodeSyllable(text, P), std::nullopt) << text;
    }
    EXPECT_EQ(EncodeSyllable(" \t\n", J), std::nullopt);
    // Finals or initials beyond their table, tones out of range, nothing at all.
    const std::pair<SyllableId, Scheme> invalid[] = {{Id(3, 37, 1), P},  {Id(3, 60, 1), J}, {Id(24, 1, 1), P},
                                                     {Id(20, 1, 1), J},  {Id(3, 22, 0), P}, {Id(3, 22, 6), P},
                                                     {Id(10, 51, 7), J}, {Id(0, 0, 1), P},  {0, J}};
    for (const auto& [id, scheme] : invalid) {
        EXPECT_EQ(DecodeSyllable(id, scheme), std::nullopt) << std::hex << id;
    }
}

// Every id that decodes encodes back to its text, and distinct syllables
// have distinct ids: (23 initials + none) x 36 finals x 5 tones of Pinyin.
TEST(SyllableRoundTrip, EveryDecodableId) {
    for (const Scheme scheme : {P, J}) {
        std::set<std::string> texts;
        for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
            const std::optional<std::string> text = DecodeSyllable(SyllableId(id), scheme);
            if (!text || (id & 0x3F) == 0) { // an initial alone ("ch1") is no syllable
                continue;
            }
            const std::optional<SyllableId> again = EncodeSyllable(*text, scheme);
            ASSERT_TRUE(again) << *text;
            EXPECT_EQ(DecodeSyllable(*again, scheme), text);
            texts.insert(*text);
        }
        EXPECT_EQ(texts.size(), scheme == P ? 24u * 36 * 5 : 20u * 59 * 6);
    }
}

TEST(MarkSyllable, StandardRuleUnicodeAndFontForms) {
    const struct {
        const char16_t* syllable;
        const char16_t* unicode;
        const char16_t* font;
    } cases[] = {{u"zhong1", u"zh\u014Dng", u"zh\u00CCng"},
                 {u"a1", u"\u0101", u"\u00C0"},
                 {u"hao3", u"h\u01CEo", u"h\u00C2o"},
                 {u"nv3", u"n\u01DA", u"n\u00D6"},
                 {u"lv4", u"l\u01DC", u"l\u00D7"},
                 {u"lv5", u"l\u00FC", u"l\u00BF"},
                 {u"lve4", u"l\u00FC\u00E8", u"l\u00BF\u00C7"}, // e before a remaining ü
                 {u"ma5", u"ma", u"ma"},
                 {u" \tNI3\n", u"n\u01D0", u"n\u00CA"},
                 {u"r5", u"r", u"r"}, // no letter for a mark: only the digit goes
                 // The rules differ from "first of a, e, i, o, u": iu and iong.
                 {u"liu4", u"li\u00F9", u"li\u00D3"},
                 {u"jiu3", u"ji\u01D4", u"ji\u00D2"},
                 {u"niu2", u"ni\u00FA", u"ni\u00D1"},
                 {u"xiong2", u"xi\u00F3ng", u"xi\u00CDng"},
                 {u"gui3", u"gu\u01D0", u"gu\u00CA"},
                 {u"dou1", u"d\u014Du", u"d\u00CCu"},
                 {u"duo4", u"du\u00F2", u"du\u00CF"},
                 {u"xue2", u"xu\u00E9", u"xu\u00C5"},
                 // Syllabic nasals: precomposed where Unicode has a form, else a combining mark.
                 {u"m2", u"\u1E3F", u"\u00D9"},
                 {u"n3", u"\u0148", u"\u00DE"},
                 {u"ng4", u"\u01F9g", u"\u00DFg"},
                 {u"m1", u"m\u0304", u"\u00D8"},
                 {u"hm4", u"hm\u0300", u"h\u00DB"},
                 {u"hng5", u"hng", u"hng"}};
    for (const auto& c : cases) {
        EXPECT_EQ(MarkSyllableUnicode(c.syllable), U(c.unicode)) << U(c.syllable).toStdString();
        EXPECT_EQ(MarkSyllableFont(c.syllable), U(c.font)) << U(c.syllable).toStdString();
    }
    for (const char16_t* failure : {u"ma", u"ma6", u"", u"1", u"01", u"\u7B2C1"}) {
        EXPECT_EQ(MarkSyllableUnicode(failure), std::nullopt) << U(failure).toStdString();
    }
    EXPECT_EQ(MarkSyllableUnicode(QString(100, QChar(u'a')) + QChar(u'1')), std::nullopt);
    EXPECT_EQ(MarkSyllableFont(u"\u4E2Dma1"), std::nullopt); // no font codes beyond Latin-1
}

// Every syllable whose final is iu, ui, iong or ou, with every initial and
// tone, takes its mark on the letter of the standard rule. Finals by stored
// position (iu 20, ui 30, iong 19, ou 23), with the marked letter's place in
// the final.
TEST(MarkSyllable, EveryIuUiIongAndOuSyllable) {
    const std::pair<int, qsizetype> finals[] = {{20, 1}, {30, 1}, {19, 1}, {23, 0}};
    for (const auto& [finalPosition, marked] : finals) {
        for (int initial = 0; initial <= 23; ++initial) {
            for (int tone = 1; tone <= 4; ++tone) {
                const QString text =
                    QString::fromStdString(*DecodeSyllable(Id(initial, finalPosition, tone), P));
                QString expected = text.chopped(1);
                const qsizetype at = expected.size() - (finalPosition == 19 ? 4 : 2) + marked;
                expected.replace(at, 1, *MarkSyllableUnicode(expected.mid(at, 1) + QChar(u'0' + tone)));
                EXPECT_EQ(MarkSyllableUnicode(text), expected) << text.toStdString();
            }
        }
    }
}

TEST(MarkPinyinText, WholeTexts) {
    const struct {
        const char16_t* text;
        const char16_t* unicode;
        const char16_t* font; // nullptr: as the Unicode form
    } cases[] = {{u"ni3 hao3", u"n\u01D0 h\u01CEo", u"n\u00CA h\u00C2o"},
                 {u"Zhong1guo2 ren2", u"zh\u014Dnggu\u00F3 r\u00E9n", nullptr},
                 {u"ni3\thao3\nma5?", u"n\u01D0\th\u01CEo\nma?", nullptr},
                 {u"ni3\r\nhao3", u"n\u01D0\r\nh\u01CEo", nullptr},
                 {u"wo3 ai4 ni3.", u"w\u01D2 \u00E0i n\u01D0.", nullptr},
                 {u"  ma1  ", u"  m\u0101  ", nullptr},
                 {u"liu4 shi2 jiu3", u"li\u00F9 sh\u00ED ji\u01D4", u"li\u00D3 sh\u00C9 ji\u00D2"},
                 // Lone digits, digits 6-9 and 0, numbers and Chinese keep their digits.
                 {u"chapter 1", u"chapter 1", u"chapter 1"},
                 {u"ma6 ma0", u"ma6 ma0", u"ma6 ma0"},
                 {u"room 101", u"room 101", u"room 101"},
                 {u"3.14", u"3.14", u"3.14"},
                 {u"\u7B2C1\u8BFE", u"\u7B2C1\u8BFE", u"\u7B2C1\u8BFE"},
                 {u"(1) ni3", u"(1) n\u01D0", u"(1) n\u00CA"},
                 {u"\u4E2D\u6587 zhong1", u"\u4E2D\u6587 zh\u014Dng", u"\u4E2D\u6587 zh\u00CCng"},
                 {u"\u4E2D\u6587zhong1", u"\u4E2D\u6587zh\u014Dng", u"\u4E2D\u6587zhong1"},
                 // A backslash keeps a syllable in digit form, in the font form only.
                 {u"ma\\1 ma1", u"m\u0101\\ m\u0101", u"ma1 m\u00C0"},
                 {u"a\\b\\2", u"\u00E1\\b\\", u"ab2"},
                 {u"", u"", u""}};
    for (const auto& c : cases) {
        EXPECT_EQ(MarkPinyinUnicode(c.text), U(c.unicode)) << U(c.text).toStdString();
        if (c.font) {
            EXPECT_EQ(MarkPinyinFont(c.text), U(c.font)) << U(c.text).toStdString();
        }
    }
}

// The font form carried back to Unicode marks gives what Unicode marking gives
// directly, for every syllable shape: plain vowels, ü, and marks on m and n.
TEST(FontFormToUnicode, AgreesWithUnicodeMarking) {
    for (const char* text : {"zhong1 guo2", "lv4 nv3 lve4", "hm4 m2 n3 ng4", "ma5 lv5 gui4 liu2 xiong2",
                             "room 101, chapter 1"}) {
        EXPECT_EQ(FontFormToUnicode(MarkPinyinFont(QString::fromLatin1(text))),
                  MarkPinyinUnicode(QString::fromLatin1(text)))
            << text;
    }
    // Text outside the font's codes (U+00BF..U+00DF) passes unchanged.
    EXPECT_EQ(FontFormToUnicode(u"中文 café ~"), QStringLiteral("中文 café ~"));
}

} // namespace
} // namespace quillory
