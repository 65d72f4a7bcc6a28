// Classification of typed queries and the hexadecimal number rule.
#include "dictionary/search/QueryClassifier.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

QueryClass Classify(const char16_t* text) {
    return ClassifyQuery(QString::fromUtf16(text));
}

TEST(ClassifyQuery, ChineseWhenTheFirstCharacterIsAnIdeograph) {
    EXPECT_EQ(Classify(u"中"), QueryClass::Chinese);
    EXPECT_EQ(Classify(u"中文"), QueryClass::Chinese);
    EXPECT_EQ(Classify(u"中x1"), QueryClass::Chinese);
    EXPECT_EQ(Classify(u"\u9FA5"), QueryClass::Chinese);
    EXPECT_EQ(Classify(u"\u4DFF"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"\u9FA6"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"x中"), QueryClass::Unsearchable);
}

TEST(ClassifyQuery, RomanTakesEnglishAndReadingsTypedAnyWay) {
    struct Case {
        const char16_t* text;
        QueryClass expected;
    };
    const Case cases[] = {
        // English
        {u"hello world", QueryClass::Roman},
        {u"don't", QueryClass::Roman},
        {u"Zhong", QueryClass::Roman},
        // tone digits after letters, with and without blanks; 0 and 5 for the neutral tone
        {u"ni3hao3", QueryClass::Roman},
        {u"zhong1 wen2", QueryClass::Roman},
        {u"nei5 hou2", QueryClass::Roman},
        {u"ma0", QueryClass::Roman},
        {u"xi1'an1", QueryClass::Roman},
        // tone marks and ü, either case, also as combining marks
        {u"lǚyóu", QueryClass::Roman},
        {u"Zhōngwén", QueryClass::Roman},
        {u"LÜ", QueryClass::Roman},
        {u"zho\u0304ngwe\u0301n", QueryClass::Roman},
        {u"ńg", QueryClass::Roman},
        // ü as u:, with or without a tone digit
        {u"lu:3", QueryClass::Roman},
        {u"nu:", QueryClass::Roman},
        {u"lu:3you2", QueryClass::Roman},
        // digits only as tones: never first, never two in a row, never 7-9
        {u"ni33", QueryClass::Unsearchable},
        {u"ni7", QueryClass::Unsearchable},
        {u"1ni", QueryClass::Unsearchable},
        {u"ni 3", QueryClass::Unsearchable},
        {u"'3", QueryClass::Unsearchable},
        // a colon only after u
        {u"la:3", QueryClass::Unsearchable},
        {u":u", QueryClass::Unsearchable},
        // other characters
        {u"hello-world", QueryClass::Unsearchable},
        {u"hello\tworld", QueryClass::Unsearchable},
        {u"na\u00EFve", QueryClass::Unsearchable},
        {u"stra\u00DFe", QueryClass::Unsearchable},
        {u"ni3\u4E2D", QueryClass::Unsearchable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Classify(c.text), c.expected) << QString::fromUtf16(c.text).toStdString();
}

TEST(ClassifyQuery, HexCodeIsFourDigitsNamingAnIdeograph) {
    EXPECT_EQ(Classify(u"4E2D"), QueryClass::HexCode);
    EXPECT_EQ(Classify(u"4e2d"), QueryClass::HexCode);
    EXPECT_EQ(Classify(u"9FA5"), QueryClass::HexCode);
    EXPECT_EQ(Classify(u"4E00"), QueryClass::HexCode);
    EXPECT_EQ(Classify(u"4DFF"), QueryClass::Unsearchable); // first digit fits, value below the range
    EXPECT_EQ(Classify(u"9FA6"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"4E2"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"4E2D0"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"3E2D"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"A000"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"4E2G"), QueryClass::Unsearchable);
}

TEST(ClassifyQuery, IgnoresSurroundingBlanksTabsAndLineBreaks) {
    EXPECT_EQ(Classify(u"  \t4E2D \t"), QueryClass::HexCode);
    EXPECT_EQ(Classify(u"\t中\r\n"), QueryClass::Chinese);
    EXPECT_EQ(Classify(u" hello "), QueryClass::Roman);
    EXPECT_EQ(TrimQuery(QString::fromUtf16(u" \t中 文\n")), QString::fromUtf16(u"中 文"));
}

TEST(ClassifyQuery, EmptyAndBlankTextsAreUnsearchable) {
    EXPECT_EQ(Classify(u""), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u" \t\n "), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"42"), QueryClass::Unsearchable);
}

TEST(HexValue, ReadsDigitsOfEitherCaseAndSkipsOtherBytes) {
    EXPECT_EQ(HexValue(u""), 0u);
    EXPECT_EQ(HexValue(u"4E2D"), 0x4E2Du);
    EXPECT_EQ(HexValue(u"4e2d"), 0x4E2Du);
    EXPECT_EQ(HexValue(u"4E2D/"), 0x4E2Du);
    EXPECT_EQ(HexValue(u"0x1F"), 0x1Fu); // "x" is skipped, the 0 adds nothing
    EXPECT_EQ(HexValue(u"z q"), 0u);
    EXPECT_EQ(HexValue(u"中1"), 1u);
}

TEST(HexValue, WrapsAtThirtyTwoBitsAndNegatesALeadingMinus) {
    EXPECT_EQ(HexValue(u"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(HexValue(u"123456789"), 0x23456789u);
    EXPECT_EQ(HexValue(u"-1"), 0xFFFFFFFFu);
    EXPECT_EQ(HexValue(u"-10"), 0xFFFFFFF0u);
    EXPECT_EQ(HexValue(u"1-0"), 0x10u); // only a leading minus counts
}

} // namespace
} // namespace quillory
