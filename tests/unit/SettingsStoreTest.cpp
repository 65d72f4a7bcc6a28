#include "settings/SettingsStore.h"
#include "settings/DisplayFontRules.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

using namespace quillory;

// Readable QString values in failure messages.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("settings.ini"));
        store_ = std::make_unique<SettingsStore>(path_);
    }

    void Set(const QString& name, const QString& value) { ASSERT_TRUE(store_->WriteSetting(name, value)); }

    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<SettingsStore> store_;
};

} // namespace

using SettingsStoreTest = SettingsFixture;

TEST_F(SettingsStoreTest, WrittenTextsReadBackAndSurviveReopening) {
    EXPECT_FALSE(store_->ReadSetting(QStringLiteral("LANG")).has_value());
    Set(QStringLiteral("LANG"), QStringLiteral("3"));
    Set(QStringLiteral("SFont"), QStringLiteral("g\u5B8B\u4F53, bold"));
    Set(QStringLiteral("Path"), QStringLiteral("/opt/quillory/"));
    Set(QStringLiteral("Empty"), QString());
    EXPECT_EQ(store_->ReadSetting(QStringLiteral("LANG")), QStringLiteral("3"));

    const SettingsStore reopened(path_);
    EXPECT_EQ(reopened.ReadSetting(QStringLiteral("LANG")), QStringLiteral("3"));
    EXPECT_EQ(reopened.ReadSetting(QStringLiteral("SFont")), QStringLiteral("g\u5B8B\u4F53, bold"));
    EXPECT_EQ(reopened.ReadSetting(QStringLiteral("Path")), QStringLiteral("/opt/quillory/"));
    EXPECT_EQ(reopened.ReadSetting(QStringLiteral("Empty")), QString());
    // Values live in the "Versions" group.
    QSettings raw(path_, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Versions/LANG")).toString(), QStringLiteral("3"));
}

TEST_F(SettingsStoreTest, ValuesThatAreNoTextReadAsMissing) {
    {
        QSettings raw(path_, QSettings::IniFormat);
        raw.setValue(QStringLiteral("Versions/List"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
        raw.setValue(QStringLiteral("Versions/Number"), 12);
        raw.setValue(QStringLiteral("Outside"), QStringLiteral("x"));
    }
    const SettingsStore store(path_);
    EXPECT_FALSE(store.ReadSetting(QStringLiteral("List")).has_value());
    EXPECT_FALSE(store.ReadSetting(QStringLiteral("Number")).has_value());
    EXPECT_FALSE(store.ReadSetting(QStringLiteral("Outside")).has_value());
}

TEST(SettingsStoreWrite, UnwritableStoreReportsFailure) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A plain file where the settings folder should be: nothing can be stored below it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsStore store(blocker + QStringLiteral("/settings.ini"));
    EXPECT_FALSE(store.WriteSetting(QStringLiteral("LANG"), QStringLiteral("1")));
    EXPECT_FALSE(store.WriteSizeSetting(QStringLiteral("PSize"), 12));
}

TEST_F(SettingsStoreTest, SizesAreHexadecimalAndClamped) {
    const struct {
        const char* text;
        int size;
    } cases[] = {
        {"c", 12},
        {"C", 12},
        {"14", 13},
        {"5", 8},
        {"a", 10},
        {"", 8},
        {"-c", 8},
        {"x0b!", 11},
        {"0d", 13},
        {"zz9", 9},
        {"-", 8},
        {"b-", 11},
        {"fffffffffffffff", 13},
    };
    for (const auto& c : cases) {
        Set(QStringLiteral("PSize"), QString::fromLatin1(c.text));
        int size = 10;
        EXPECT_TRUE(store_->ReadSizeSetting(QStringLiteral("PSize"), size)) << c.text;
        EXPECT_EQ(size, c.size) << c.text;
    }
}

TEST_F(SettingsStoreTest, MissingSizeLeavesTheSizeAloneAndSizesAreWrittenInHex) {
    int size = 42;
    EXPECT_FALSE(store_->ReadSizeSetting(QStringLiteral("PSize"), size));
    EXPECT_EQ(size, 42);
    ASSERT_TRUE(store_->WriteSizeSetting(QStringLiteral("PSize"), 13));
    EXPECT_EQ(store_->ReadSetting(QStringLiteral("PSize")), QStringLiteral("d"));
}

using DisplayFontRulesTest = SettingsFixture;

TEST_F(DisplayFontRulesTest, EmptySettingsGiveTheDefaults) {
    const DisplayFontSpec english = DisplayFontForSlot(FontSlotFromIndex(0), *store_);
    EXPECT_TRUE(english.useMenuFace);
    EXPECT_EQ(english.pointSize, 10);
    EXPECT_EQ(english.charset, kAnsiCharset);
    EXPECT_EQ(english.kindMarker, QStringLiteral("en"));

    const DisplayFontSpec pinyin = DisplayFontForSlot(FontSlotFromIndex(1), *store_);
    EXPECT_EQ(pinyin.face, QStringLiteral("Oxapinyin basic"));
    EXPECT_FALSE(pinyin.useMenuFace);
    EXPECT_EQ(pinyin.pointSize, 10);
    EXPECT_EQ(pinyin.charset, kDefaultCharset);

    const DisplayFontSpec jianti = DisplayFontForSlot(FontSlotFromIndex(2), *store_);
    EXPECT_EQ(jianti.face, QStringLiteral("SimSun"));
    EXPECT_EQ(jianti.pointSize, 11);
    EXPECT_EQ(jianti.charset, kGb2312Charset);
    EXPECT_EQ(jianti.kindMarker, QStringLiteral("gb"));

    // The default "gMingLiu" names the GB2312 set by its letter.
    const DisplayFontSpec fanti = DisplayFontForSlot(FontSlotFromIndex(3), *store_);
    EXPECT_EQ(fanti.face, QStringLiteral("MingLiu"));
    EXPECT_EQ(fanti.pointSize, 11);
    EXPECT_EQ(fanti.charset, kGb2312Charset);
    EXPECT_EQ(fanti.kindMarker, QStringLiteral("b5"));

    const DisplayFontSpec jyutping = DisplayFontForSlot(FontSlotFromIndex(4), *store_);
    EXPECT_EQ(jyutping.face, QStringLiteral("Oxapinyin basic"));
    EXPECT_EQ(jyutping.pointSize, 10);
    EXPECT_EQ(jyutping.charset, kAnsiCharset);
    EXPECT_EQ(jyutping.kindMarker, QStringLiteral("jp"));
}

TEST_F(DisplayFontRulesTest, SizesComeFromTheirOwnSettings) {
    Set(QStringLiteral("PSize"), QStringLiteral("c"));
    Set(QStringLiteral("ESize"), QStringLiteral("9"));
    Set(QStringLiteral("SSize"), QStringLiteral("14"));
    Set(QStringLiteral("TSize"), QStringLiteral("5"));
    Set(QStringLiteral("JSize"), QStringLiteral("d"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(1), *store_).pointSize, 12);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(0), *store_).pointSize, 9);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(2), *store_).pointSize, 13);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(3), *store_).pointSize, 8);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(4), *store_).pointSize, 13);
}

TEST_F(DisplayFontRulesTest, ChineseFontsTakeTheirSetFromTheFirstLetter) {
    Set(QStringLiteral("SFont"), QStringLiteral("bFoo"));
    Set(QStringLiteral("TFont"), QStringLiteral("bPMingLiU"));
    const DisplayFontSpec jianti = DisplayFontForSlot(FontSlotFromIndex(2), *store_);
    EXPECT_EQ(jianti.face, QStringLiteral("Foo"));
    EXPECT_EQ(jianti.charset, kBig5Charset);
    const DisplayFontSpec fanti = DisplayFontForSlot(FontSlotFromIndex(3), *store_);
    EXPECT_EQ(fanti.face, QStringLiteral("PMingLiU"));
    EXPECT_EQ(fanti.charset, kBig5Charset);

    // Any letter other than "b" means GB2312 for the simplified font, and any
    // other than "g" means Big5 for the traditional one.
    Set(QStringLiteral("SFont"), QStringLiteral("xNoto Sans CJK SC"));
    Set(QStringLiteral("TFont"), QStringLiteral("xNoto Sans CJK TC"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(2), *store_).charset, kGb2312Charset);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(2), *store_).face, QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(3), *store_).charset, kBig5Charset);
    Set(QStringLiteral("TFont"), QStringLiteral("gAR PL UMing"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(3), *store_).charset, kGb2312Charset);
}

TEST_F(DisplayFontRulesTest, ShortChineseFontValuesCountAsMissing) {
    Set(QStringLiteral("SFont"), QStringLiteral("bX"));
    Set(QStringLiteral("TFont"), QString());
    const DisplayFontSpec jianti = DisplayFontForSlot(FontSlotFromIndex(2), *store_);
    EXPECT_EQ(jianti.face, QStringLiteral("SimSun"));
    EXPECT_EQ(jianti.charset, kGb2312Charset);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(3), *store_).face, QStringLiteral("MingLiu"));
    Set(QStringLiteral("SFont"), QStringLiteral("bXY"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(2), *store_).face, QStringLiteral("XY"));
}

TEST_F(DisplayFontRulesTest, ChosenFacesApplyOnlyWhenTheDefaultFlagIsZero) {
    Set(QStringLiteral("EFont"), QStringLiteral("DejaVu Serif"));
    Set(QStringLiteral("JFont"), QStringLiteral("DejaVu Sans"));
    // Flags missing: the menu face and the Pinyin face.
    EXPECT_TRUE(DisplayFontForSlot(FontSlotFromIndex(0), *store_).useMenuFace);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(4), *store_).face, QStringLiteral("Oxapinyin basic"));

    Set(QStringLiteral("EDefault"), QStringLiteral("1"));
    Set(QStringLiteral("JDefault"), QStringLiteral("00"));
    EXPECT_TRUE(DisplayFontForSlot(FontSlotFromIndex(0), *store_).useMenuFace);
    EXPECT_TRUE(DisplayFontForSlot(FontSlotFromIndex(0), *store_).face.isEmpty());
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(4), *store_).face, QStringLiteral("Oxapinyin basic"));

    Set(QStringLiteral("EDefault"), QStringLiteral("0"));
    Set(QStringLiteral("JDefault"), QStringLiteral("0"));
    EXPECT_FALSE(DisplayFontForSlot(FontSlotFromIndex(0), *store_).useMenuFace);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(0), *store_).face, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(4), *store_).face, QStringLiteral("DejaVu Sans"));

    // A chosen but empty face falls back as if the default were set.
    Set(QStringLiteral("EFont"), QString());
    Set(QStringLiteral("JFont"), QString());
    EXPECT_TRUE(DisplayFontForSlot(FontSlotFromIndex(0), *store_).useMenuFace);
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(4), *store_).face, QStringLiteral("Oxapinyin basic"));
}

TEST_F(DisplayFontRulesTest, SecondFantiSlotCopiesTheFirstWithoutKind) {
    Set(QStringLiteral("TFont"), QStringLiteral("bPMingLiU"));
    Set(QStringLiteral("TSize"), QStringLiteral("c"));
    const DisplayFontSpec first = DisplayFontForSlot(FontSlotFromIndex(3), *store_);
    const DisplayFontSpec second = DisplayFontForSlot(FontSlotFromIndex(5), *store_);
    EXPECT_EQ(second.face, first.face);
    EXPECT_EQ(second.pointSize, first.pointSize);
    EXPECT_EQ(second.charset, first.charset);
    EXPECT_TRUE(second.kindMarker.isEmpty());
    // Slots outside 0..5 get the English font.
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(6), *store_).kindMarker, QStringLiteral("en"));
    EXPECT_EQ(DisplayFontForSlot(FontSlotFromIndex(-1), *store_).kindMarker, QStringLiteral("en"));
}

TEST(PointsToPixels, RoundsHalfAwayFromZero) {
    EXPECT_EQ(PointsToPixels(10, 96), 13);  // 13.33
    EXPECT_EQ(PointsToPixels(11, 96), 15);  // 14.67
    EXPECT_EQ(PointsToPixels(9, 96), 12);   // exactly 12
    EXPECT_EQ(PointsToPixels(3, 12), 1);    // 0.5 rounds up
    EXPECT_EQ(PointsToPixels(-3, 12), -1);  // -0.5 rounds away from zero
    EXPECT_EQ(PointsToPixels(10, 120), 17); // 16.67
    EXPECT_EQ(PointsToPixels(13, 144), 26);
    EXPECT_EQ(PointsToPixels(0, 96), 0);
}
