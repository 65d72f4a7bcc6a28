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

TEST(ClassifyQuery, RomanTakesLettersApostrophesAndBlanksOnly) {
    EXPECT_EQ(Classify(u"hello world"), QueryClass::Roman);
    EXPECT_EQ(Classify(u"don't"), QueryClass::Roman);
    EXPECT_EQ(Classify(u"Zhong"), QueryClass::Roman);
    EXPECT_EQ(Classify(u"hello2"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"hello-world"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"hello\tworld"), QueryClass::Unsearchable);
    EXPECT_EQ(Classify(u"caf\u00E9"), QueryClass::Unsearchable);
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
