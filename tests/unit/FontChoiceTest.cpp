// The font choice without widgets: installed face lists, the automatic
// choice of the first run, loading the stored choice and storing it again.
#include "stroke/fonts/FontChoice.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TemporarySettings.h"

#include <gtest/gtest.h>

using namespace quillory;

namespace {

class FontChoiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings_.isValid()); }

    QString Read(const char* name) const { return settings_.value(name); }
    void Set(const char* name, const QString& value) {
        ASSERT_TRUE(settings_.store().WriteSetting(QString::fromLatin1(name), value));
    }
    QStringList StoredNames() const { return settings_.storedNames(); }

    quillory::testing::TemporarySettings settings_;
    SettingsStore* store_ = &settings_.store();
};

const QList<FontEntry> kWindowsFaces = {
    {QStringLiteral("SimSun"), 134},  {QStringLiteral("NSimSun"), 134},  {QStringLiteral("SimHei"), 134},
    {QStringLiteral("MingLiU"), 136}, {QStringLiteral("PMingLiU"), 136},
};

} // namespace

TEST(InstalledFontsTest, ListsLeaveOutVerticalAndPrivateFacesAndKeepOneEntryPerSet) {
    // The program's own Pinyin face is installed for the program only.
    const InstalledFonts fonts = MakeInstalledFonts(
        {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("@WenQuanYi Zen Hei"), QString(),
         QStringLiteral("Oxapinyin basic")},
        {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("@MingLiU"), QStringLiteral("MingLiU")},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("@Arial"), QStringLiteral("DejaVu Sans"),
         QStringLiteral("Oxapinyin Basic")});
    const QList<FontEntry> expected = {{QStringLiteral("WenQuanYi Zen Hei"), 134},
                                       {QStringLiteral("WenQuanYi Zen Hei"), 136},
                                       {QStringLiteral("MingLiU"), 136}};
    EXPECT_EQ(fonts.chinese, expected);
    EXPECT_EQ(fonts.other, QStringList{QStringLiteral("DejaVu Sans")});

    // The lists show each face once, sorted without regard to case.
    EXPECT_EQ(SortedFaceNames(fonts.chinese),
              (QStringList{QStringLiteral("MingLiU"), QStringLiteral("WenQuanYi Zen Hei")}));
    EXPECT_EQ(SortedFaceNames(QStringList{QStringLiteral("b"), QStringLiteral("C"), QStringLiteral("a"),
                                          QStringLiteral("b")}),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("C")}));
}

TEST(InstalledFontsTest, CharsetOfAFacePrefersTheSlotsSetThenTheLastEntry) {
    const QList<FontEntry> chinese = {{QStringLiteral("Both"), 134},
                                      {QStringLiteral("Both"), 136},
                                      {QStringLiteral("BigOnly"), 136},
                                      {QStringLiteral("GbOnly"), 134}};
    EXPECT_EQ(CharsetOfFace(chinese, QStringLiteral("Both"), 134, 0), 134);
    EXPECT_EQ(CharsetOfFace(chinese, QStringLiteral("both"), 136, 0), 136);
    EXPECT_EQ(CharsetOfFace(chinese, QStringLiteral("BigOnly"), 134, 0), 136);
    EXPECT_EQ(CharsetOfFace(chinese, QStringLiteral("GbOnly"), 136, 0), 134);
    EXPECT_EQ(CharsetOfFace(chinese, QStringLiteral("Missing"), 134, 136), 136);
}

TEST_F(FontChoiceTest, FirstRunTakesSimSunAndMingLiuAndWritesOnlyThose) {
    QList<FontEntry> chinese = kWindowsFaces;
    chinese.append({QStringLiteral("WenQuanYi Zen Hei"), 134});
    chinese.append({QStringLiteral("WenQuanYi Zen Hei"), 136});
    const FirstRunChoice choice = ChooseFirstRunFonts(chinese);
    ASSERT_TRUE(choice.complete());
    EXPECT_EQ(*choice.simplifiedFace, QStringLiteral("SimSun"));
    EXPECT_EQ(*choice.traditionalFace, QStringLiteral("MingLiU"));

    ASSERT_TRUE(WriteFirstRunChoice(*store_, choice));
    EXPECT_EQ(Read("SFont"), QStringLiteral("gSimSun"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("bMingLiU"));
    EXPECT_EQ(StoredNames(), (QStringList{QStringLiteral("SFont"), QStringLiteral("TFont")}));
}

TEST_F(FontChoiceTest, FirstRunAcceptsTheFreeFacesOfLinuxInOrder) {
    // One face covering both sets serves both slots, each under its own set.
    const QList<FontEntry> wqy = {{QStringLiteral("WenQuanYi Zen Hei"), 134},
                                  {QStringLiteral("WenQuanYi Zen Hei"), 136}};
    ASSERT_TRUE(WriteFirstRunChoice(*store_, ChooseFirstRunFonts(wqy)));
    EXPECT_EQ(Read("SFont"), QStringLiteral("gWenQuanYi Zen Hei"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("bWenQuanYi Zen Hei"));

    // The serif faces rank before the sans-serif ones, whatever the order installed.
    const QList<FontEntry> several = {{QStringLiteral("WenQuanYi Micro Hei"), 134},
                                      {QStringLiteral("Noto Sans CJK TC"), 136},
                                      {QStringLiteral("AR PL UMing TW"), 136},
                                      {QStringLiteral("ar pl uming cn"), 134}};
    const FirstRunChoice choice = ChooseFirstRunFonts(several);
    ASSERT_TRUE(choice.complete());
    EXPECT_EQ(*choice.simplifiedFace, QStringLiteral("ar pl uming cn"));
    EXPECT_EQ(*choice.traditionalFace, QStringLiteral("AR PL UMing TW"));
}

TEST_F(FontChoiceTest, FirstRunMatchesFoundryNamesButNotOtherFamilies) {
    const QList<FontEntry> named = {{QStringLiteral("WenQuanYi Zen Hei Sharp"), 134},
                                    {QStringLiteral("WenQuanYi Zen Hei [wqy]"), 136}};
    EXPECT_EQ(FindFirstRunFace(named, {QStringLiteral("WenQuanYi Zen Hei")}),
              QStringLiteral("WenQuanYi Zen Hei [wqy]"));
    EXPECT_FALSE(FindFirstRunFace({{QStringLiteral("WenQuanYi Zen Hei Sharp"), 134}},
                                  {QStringLiteral("WenQuanYi Zen Hei")})
                     .has_value());
    EXPECT_FALSE(
        FindFirstRunFace({{QStringLiteral("SimSun [x"), 134}}, {QStringLiteral("SimSun")}).has_value());
}

TEST_F(FontChoiceTest, FirstRunWithoutSuitableFacesWritesWhatWasFound) {
    const FirstRunChoice none = ChooseFirstRunFonts({{QStringLiteral("Some Kai"), 134}});
    EXPECT_FALSE(none.complete());
    ASSERT_TRUE(WriteFirstRunChoice(*store_, none));
    EXPECT_TRUE(StoredNames().isEmpty());

    const FirstRunChoice half = ChooseFirstRunFonts({{QStringLiteral("SIMSUN"), 134}});
    EXPECT_FALSE(half.complete());
    ASSERT_TRUE(WriteFirstRunChoice(*store_, half));
    EXPECT_EQ(Read("SFont"), QStringLiteral("gSIMSUN"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("<missing>"));
}

TEST_F(FontChoiceTest, LoadingReadsFacesFlagsAndClampedSizes) {
    Set("EDefault", QStringLiteral("0"));
    Set("EFont", QStringLiteral("DejaVu Serif"));
    Set("JDefault", QStringLiteral("yes"));
    Set("JFont", QStringLiteral("Ignored Face"));
    Set("SFont", QStringLiteral("gMingLiU"));
    Set("SSize", QStringLiteral("c"));
    Set("TFont", QStringLiteral("ab"));
    Set("TSize", QStringLiteral("14"));
    Set("PSize", QStringLiteral("5"));
    const FontsChoice choice = LoadFontsChoice(*store_, QStringLiteral("Menu Face"), kWindowsFaces);

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

TEST_F(FontChoiceTest, LoadingKeepsTheLetterOfAFaceThatIsNotInstalled) {
    Set("SFont", QStringLiteral("bGone Ming"));
    Set("TFont", QStringLiteral("gGone Song"));
    const FontsChoice choice = LoadFontsChoice(*store_, QStringLiteral("Menu Face"), kWindowsFaces);
    EXPECT_EQ(choice.simplifiedCharset, 136);
    EXPECT_EQ(choice.traditionalCharset, 134);

    // Stored back unchanged.
    ASSERT_TRUE(WriteFontsChoice(*store_, choice));
    EXPECT_EQ(Read("SFont"), QStringLiteral("bGone Ming"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("gGone Song"));
}

TEST_F(FontChoiceTest, WritingStoresEveryValueAndReadsBackTheSame) {
    FontsChoice choice;
    choice.simplifiedFace = QStringLiteral("SimHei");
    choice.simplifiedCharset = 134;
    choice.traditionalFace = QStringLiteral("PMingLiU");
    choice.traditionalCharset = 136;
    choice.englishFace = QStringLiteral("DejaVu Sans");
    choice.jyutpingFace = QStringLiteral("DejaVu Serif");
    choice.simplifiedSize = 13;
    choice.traditionalSize = 8;
    choice.englishSize = 10;
    choice.pinyinSize = 12;
    choice.jyutpingSize = 11;
    choice.englishDefault = false;
    choice.jyutpingDefault = true;
    ASSERT_TRUE(WriteFontsChoice(*store_, choice));

    EXPECT_EQ(Read("SFont"), QStringLiteral("gSimHei"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("bPMingLiU"));
    EXPECT_EQ(Read("EFont"), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Read("JFont"), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Read("SSize"), QStringLiteral("d"));
    EXPECT_EQ(Read("TSize"), QStringLiteral("8"));
    EXPECT_EQ(Read("ESize"), QStringLiteral("a"));
    EXPECT_EQ(Read("PSize"), QStringLiteral("c"));
    EXPECT_EQ(Read("JSize"), QStringLiteral("b"));
    EXPECT_EQ(Read("EDefault"), QStringLiteral("0"));
    EXPECT_EQ(Read("JDefault"), QStringLiteral("1"));

    const FontsChoice loaded = LoadFontsChoice(*store_, QStringLiteral("Menu Face"), kWindowsFaces);
    EXPECT_EQ(loaded.simplifiedFace, choice.simplifiedFace);
    EXPECT_EQ(loaded.traditionalFace, choice.traditionalFace);
    EXPECT_EQ(loaded.englishFace, choice.englishFace);
    // The Jyutping font is left to the default, so its face is the menu's.
    EXPECT_EQ(loaded.jyutpingFace, QStringLiteral("Menu Face"));
    EXPECT_EQ(loaded.simplifiedSize, 13);
    EXPECT_EQ(loaded.traditionalSize, 8);
    EXPECT_EQ(loaded.pinyinSize, 12);
    EXPECT_EQ(loaded.jyutpingSize, 11);
}

TEST_F(FontChoiceTest, WritingLeavesEmptyFacesAlone) {
    Set("SFont", QStringLiteral("gKept"));
    Set("EFont", QStringLiteral("Kept Too"));
    FontsChoice choice; // no faces chosen
    ASSERT_TRUE(WriteFontsChoice(*store_, choice));
    EXPECT_EQ(Read("SFont"), QStringLiteral("gKept"));
    EXPECT_EQ(Read("EFont"), QStringLiteral("Kept Too"));
    EXPECT_EQ(Read("TFont"), QStringLiteral("<missing>"));
    EXPECT_EQ(Read("JFont"), QStringLiteral("<missing>"));
    EXPECT_EQ(Read("EDefault"), QStringLiteral("1"));
}
