// The font choice without widgets: installed face lists, the first run's choice, loading and storing.
#include "stroke/fonts/FontChoice.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SettingsText.h"

#include <gtest/gtest.h>

#include <array>

using namespace quillory;
using quillory::testing::StoredText;

namespace {

const QList<FontEntry> kWindowsFaces =
    MakeInstalledFonts({"SimSun", "NSimSun", "SimHei"}, {"MingLiU", "PMingLiU"}, {}).chinese;

class FontChoiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings_.isValid()); }

    void Set(const char* values) { ASSERT_TRUE(quillory::testing::StoreText(store(), values)); }
    SettingsStore& store() { return settings_.store(); }
    FontsChoice Load() { return LoadFontsChoice(store(), QStringLiteral("Menu Face"), kWindowsFaces); }

    quillory::testing::TemporarySettings settings_;
};

} // namespace

TEST(InstalledFontsTest, ListsLeaveOutVerticalAndPrivateFacesAndKeepOneEntryPerSet) {
    // The program's own Pinyin face is installed for the program only.
    const InstalledFonts fonts =
        MakeInstalledFonts({"WenQuanYi Zen Hei", "@WenQuanYi Zen Hei", QString(), "Oxapinyin basic"},
                           {"WenQuanYi Zen Hei", "@MingLiU", "MingLiU"},
                           {"DejaVu Sans", "@Arial", "DejaVu Sans", "Oxapinyin Basic"});
    const QList<FontEntry> expected = {
        {"WenQuanYi Zen Hei", 134}, {"WenQuanYi Zen Hei", 136}, {"MingLiU", 136}};
    EXPECT_EQ(fonts.chinese, expected);
    EXPECT_EQ(fonts.other, QStringList{"DejaVu Sans"});
    // The lists show each face once, sorted without regard to case.
    EXPECT_EQ(SortedFaceNames(fonts.chinese), (QStringList{"MingLiU", "WenQuanYi Zen Hei"}));
    EXPECT_EQ(SortedFaceNames(QStringList{"b", "C", "a", "b"}), (QStringList{"a", "b", "C"}));
}

TEST(InstalledFontsTest, CharsetOfAFacePrefersTheSlotsSetThenTheLastEntry) {
    const QList<FontEntry> chinese = {{"Both", 134}, {"Both", 136}, {"BigOnly", 136}, {"GbOnly", 134}};
    EXPECT_EQ(CharsetOfFace(chinese, "Both", 134, 0), 134);
    EXPECT_EQ(CharsetOfFace(chinese, "both", 136, 0), 136);
    EXPECT_EQ(CharsetOfFace(chinese, "BigOnly", 134, 0), 136);
    EXPECT_EQ(CharsetOfFace(chinese, "GbOnly", 136, 0), 134);
    EXPECT_EQ(CharsetOfFace(chinese, "Missing", 134, 136), 136);
}

TEST(InstalledFontsTest, FirstRunMatchesFoundryNamesButNotOtherFamilies) {
    const QStringList wqy = {"WenQuanYi Zen Hei"};
    EXPECT_EQ(FindFirstRunFace({{"WenQuanYi Zen Hei Sharp", 134}, {"WenQuanYi Zen Hei [wqy]", 136}}, wqy),
              QStringLiteral("WenQuanYi Zen Hei [wqy]"));
    EXPECT_FALSE(FindFirstRunFace({{"WenQuanYi Zen Hei Sharp", 134}}, wqy).has_value());
    EXPECT_FALSE(FindFirstRunFace({{"SimSun [x", 134}}, {"SimSun"}).has_value());
}

// The faces found are stored, and nothing else: sizes and the other faces are left alone.
TEST_F(FontChoiceTest, FirstRunStoresTheBestFacesFoundAndOnlyThose) {
    const struct {
        const char *simplified, *traditional; // installed GB2312 and Big5 faces, split at ", "
        bool complete;
        const char* stored;
    } cases[] = {
        {"WenQuanYi Zen Hei, SimSun", "WenQuanYi Zen Hei, MingLiU", true, "SFont=gSimSun; TFont=bMingLiU"},
        // One face covering both sets serves both slots, each under its own set.
        {"WenQuanYi Zen Hei", "WenQuanYi Zen Hei", true,
         "SFont=gWenQuanYi Zen Hei; TFont=bWenQuanYi Zen Hei"},
        // The serif faces rank before the sans-serif ones, whatever the order installed.
        {"WenQuanYi Micro Hei, ar pl uming cn", "Noto Sans CJK TC, AR PL UMing TW", true,
         "SFont=gar pl uming cn; TFont=bAR PL UMing TW"},
        {"Some Kai", "", false, ""},
        {"SIMSUN", "", false, "SFont=gSIMSUN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        settings_.Clear();
        const FirstRunChoice choice = ChooseFirstRunFonts(
            MakeInstalledFonts(QString(c.simplified).split(", "), QString(c.traditional).split(", "), {})
                .chinese);
        EXPECT_EQ(choice.complete(), c.complete);
        ASSERT_TRUE(WriteFirstRunChoice(store(), choice));
        EXPECT_EQ(StoredText(settings_), c.stored);
    }
}

TEST_F(FontChoiceTest, LoadingReadsFacesFlagsAndClampedSizes) {
    Set("EDefault=0; EFont=DejaVu Serif; JDefault=yes; JFont=Ignored Face; "
        "SFont=gMingLiU; SSize=c; TFont=ab; TSize=14; PSize=5");
    const FontsChoice choice = Load();
    EXPECT_FALSE(choice.englishDefault);
    EXPECT_EQ(choice.englishFace, QStringLiteral("DejaVu Serif"));
    EXPECT_TRUE(choice.jyutpingDefault);
    EXPECT_EQ(choice.jyutpingFace, QStringLiteral("Menu Face"));
    // The installed entries decide the set: MingLiU is Big5 only.
    EXPECT_EQ(choice.simplifiedFace, QStringLiteral("MingLiU"));
    EXPECT_EQ(choice.simplifiedCharset, 136);
    EXPECT_EQ(choice.simplifiedSize, 12);
    // Too short a value stands for the default face.
    EXPECT_EQ(choice.traditionalFace, QStringLiteral("MingLiu"));
    EXPECT_EQ(choice.traditionalCharset, 136);
    EXPECT_EQ(choice.traditionalSize, 13);
    EXPECT_EQ(choice.pinyinSize, 8);
}

TEST_F(FontChoiceTest, LoadingKeepsTheLetterOfAFaceThatIsNotInstalledAndStoresItBack) {
    Set("SFont=bGone Ming; TFont=gGone Song");
    const FontsChoice choice = Load();
    EXPECT_EQ(choice.simplifiedCharset, 136);
    EXPECT_EQ(choice.traditionalCharset, 134);
    ASSERT_TRUE(WriteFontsChoice(store(), choice));
    EXPECT_EQ(StoredText(settings_),
              "EDefault=1; EFont=Menu Face; ESize=a; JDefault=1; JFont=Menu Face; JSize=a; "
              "PSize=a; SFont=bGone Ming; SSize=b; TFont=gGone Song; TSize=b");
}

TEST_F(FontChoiceTest, WritingStoresEveryValueAndReadsBackTheSame) {
    // Faces with their sets, then the sizes: simplified, traditional, English, Pinyin, Jyutping.
    FontsChoice choice{"SimHei", 134, "PMingLiU", 136, "DejaVu Sans", "DejaVu Serif", 13, 8, 10, 12, 11};
    choice.englishDefault = false;
    ASSERT_TRUE(WriteFontsChoice(store(), choice));
    // Sizes in hexadecimal, the Default flags as 1 or 0.
    EXPECT_EQ(StoredText(settings_),
              "EDefault=0; EFont=DejaVu Sans; ESize=a; JDefault=1; JFont=DejaVu Serif; "
              "JSize=b; PSize=c; SFont=gSimHei; SSize=d; TFont=bPMingLiU; TSize=8");

    // The Jyutping font is left to the default, so its face is the menu's.
    const FontsChoice loaded = Load();
    EXPECT_EQ(
        (QStringList{loaded.simplifiedFace, loaded.traditionalFace, loaded.englishFace, loaded.jyutpingFace}),
        (QStringList{"SimHei", "PMingLiU", "DejaVu Sans", "Menu Face"}));
    EXPECT_EQ(
        (std::array{loaded.simplifiedSize, loaded.traditionalSize, loaded.pinyinSize, loaded.jyutpingSize}),
        (std::array{13, 8, 12, 11}));
}

TEST_F(FontChoiceTest, WritingLeavesEmptyFacesAlone) {
    Set("SFont=gKept; EFont=Kept Too");
    ASSERT_TRUE(WriteFontsChoice(store(), FontsChoice{})); // no faces chosen
    EXPECT_EQ(StoredText(settings_), "EDefault=1; EFont=Kept Too; ESize=a; JDefault=1; JSize=a; PSize=a; "
                                     "SFont=gKept; SSize=b; TSize=b");
}
