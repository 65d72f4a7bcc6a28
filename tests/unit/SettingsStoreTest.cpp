// The settings store (texts and hexadecimal sizes in the "Versions" group)
// and the display-font rules read from it.
#include "settings/SettingsStore.h"
#include "settings/DisplayFontRules.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TemporarySettings.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

using namespace quillory;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(settings_.isValid()); }
    SettingsStore& store() { return settings_.store(); }
    void Set(const QString& name, const QString& value) { ASSERT_TRUE(store().WriteSetting(name, value)); }
    DisplayFontSpec Font(int slot) { return DisplayFontForSlot(FontSlotFromIndex(slot), store()); }

    quillory::testing::TemporarySettings settings_;
};

using DisplayFontRulesTest = SettingsStoreTest;

// A font's rules on one line, so one comparison shows every field.
QString Describe(const DisplayFontSpec& font) {
    return QStringLiteral("%1|menu %2|%3 pt|set %4|%5")
        .arg(font.face)
        .arg(font.useMenuFace)
        .arg(font.pointSize)
        .arg(font.charset)
        .arg(font.kindMarker);
}

} // namespace

TEST_F(SettingsStoreTest, WrittenTextsReadBackAndSurviveReopening) {
    EXPECT_FALSE(store().ReadSetting("LANG").has_value());
    const QStringList names = {"LANG", "SFont", "Path", "Empty"};
    const QStringList texts = {"3", QStringLiteral("g\u5B8B\u4F53, bold"), "/opt/quillory/", ""};
    for (qsizetype i = 0; i < names.size(); ++i) {
        Set(names[i], texts[i]);
    }
    EXPECT_EQ(store().ReadSetting("LANG"), QStringLiteral("3"));
    settings_.Reopen();
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(store().ReadSetting(names[i]), texts[i]) << names[i].toStdString();
    }
    EXPECT_EQ(QSettings(settings_.path(), QSettings::IniFormat).value("Versions/LANG"), QStringLiteral("3"));
}

TEST_F(SettingsStoreTest, ValuesThatAreNoTextReadAsMissing) {
    {
        QSettings raw(settings_.path(), QSettings::IniFormat);
        raw.setValue("Versions/List", QStringList{"a", "b"});
        raw.setValue("Versions/Number", 12);
        raw.setValue("Outside", "x");
    }
    settings_.Reopen();
    for (const char* name : {"List", "Number", "Outside"}) {
        EXPECT_FALSE(store().ReadSetting(name).has_value()) << name;
    }
}

TEST(SettingsStoreWrite, UnwritableStoreReportsFailure) {
    QTemporaryDir dir;
    // A plain file where the settings folder should be: nothing can be stored below it.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(blocker.fileName() + "/settings.ini");
    EXPECT_FALSE(store.WriteSetting("LANG", "1"));
    EXPECT_FALSE(store.WriteSizeSetting("PSize", 12));
}

TEST_F(SettingsStoreTest, SizesAreHexadecimalAndClampedAndAMissingSizeIsLeftAlone) {
    int size = 42;
    EXPECT_FALSE(store().ReadSizeSetting("PSize", size));
    EXPECT_EQ(size, 42);
    ASSERT_TRUE(store().WriteSizeSetting("PSize", 13));
    EXPECT_EQ(store().ReadSetting("PSize"), QStringLiteral("d"));

    const char* texts[] = {
        "c", "C", "14", "5", "a", "", "-c", "x0b!", "0d", "zz9", "-", "b-", "fffffffffffffff"};
    const int sizes[] = {12, 12, 13, 8, 10, 8, 8, 11, 13, 9, 8, 11, 13};
    for (int i = 0; i < 13; ++i) {
        Set("PSize", texts[i]);
        size = 10;
        EXPECT_TRUE(store().ReadSizeSetting("PSize", size)) << texts[i];
        EXPECT_EQ(size, sizes[i]) << texts[i];
    }
}

TEST_F(DisplayFontRulesTest, EmptySettingsGiveTheDefaults) {
    // The default "gMingLiu" of the traditional slot names the GB2312 set by its letter.
    const DisplayFontSpec expected[] = {{"", true, 10, kAnsiCharset, "en"},
                                        {kPinyinFontFace, false, 10, kDefaultCharset, "py"},
                                        {"SimSun", false, 11, kGb2312Charset, "gb"},
                                        {"MingLiu", false, 11, kGb2312Charset, "b5"},
                                        {kPinyinFontFace, false, 10, kAnsiCharset, "jp"}};
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(Describe(Font(slot)), Describe(expected[slot])) << slot;
    }
}

TEST_F(DisplayFontRulesTest, SizesComeFromTheirOwnSettings) {
    const std::pair<const char*, const char*> sizes[] = {
        {"ESize", "9"}, {"PSize", "c"}, {"SSize", "14"}, {"TSize", "5"}, {"JSize", "d"}};
    for (const auto& [name, text] : sizes) {
        Set(name, text);
    }
    const int points[] = {9, 12, 13, 8, 13};
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_EQ(Font(slot).pointSize, points[slot]) << sizes[slot].first;
    }
}

TEST_F(DisplayFontRulesTest, ChineseFontsTakeTheirSetFromTheFirstLetter) {
    Set("SFont", "bFoo");
    Set("TFont", "bPMingLiU");
    EXPECT_EQ(Font(2).face, QStringLiteral("Foo"));
    EXPECT_EQ(Font(2).charset, kBig5Charset);
    EXPECT_EQ(Font(3).face, QStringLiteral("PMingLiU"));
    EXPECT_EQ(Font(3).charset, kBig5Charset);

    // Any letter other than "b" means GB2312 for the simplified font, and any
    // other than "g" means Big5 for the traditional one.
    Set("SFont", "xNoto Sans CJK SC");
    Set("TFont", "xNoto Sans CJK TC");
    EXPECT_EQ(Font(2).charset, kGb2312Charset);
    EXPECT_EQ(Font(2).face, QStringLiteral("Noto Sans CJK SC"));
    EXPECT_EQ(Font(3).charset, kBig5Charset);
    Set("TFont", "gAR PL UMing");
    EXPECT_EQ(Font(3).charset, kGb2312Charset);

    // Values of fewer than three letters count as missing.
    Set("SFont", "bX");
    Set("TFont", "");
    EXPECT_EQ(Font(2).face, QStringLiteral("SimSun"));
    EXPECT_EQ(Font(2).charset, kGb2312Charset);
    EXPECT_EQ(Font(3).face, QStringLiteral("MingLiu"));
    Set("SFont", "bXY");
    EXPECT_EQ(Font(2).face, QStringLiteral("XY"));
}

TEST_F(DisplayFontRulesTest, ChosenFacesApplyOnlyWhenTheDefaultFlagIsZero) {
    Set("EFont", "DejaVu Serif");
    Set("JFont", "DejaVu Sans");
    // Flags missing, set to "1" and "00", then both "0": only "0" applies the chosen faces.
    for (int step = 0; step < 3; ++step) {
        if (step > 0) {
            Set("EDefault", step == 1 ? "1" : "0");
            Set("JDefault", step == 1 ? "00" : "0");
        }
        const bool chosen = step == 2;
        EXPECT_EQ(Font(0).useMenuFace, !chosen) << step;
        EXPECT_EQ(Font(0).face, chosen ? QStringLiteral("DejaVu Serif") : QString()) << step;
        EXPECT_EQ(Font(4).face, QString(chosen ? "DejaVu Sans" : kPinyinFontFace)) << step;
    }
    // A chosen but empty face falls back as if the default were set.
    Set("EFont", "");
    Set("JFont", "");
    EXPECT_TRUE(Font(0).useMenuFace);
    EXPECT_EQ(Font(4).face, QString(kPinyinFontFace));
}

TEST_F(DisplayFontRulesTest, SecondFantiSlotCopiesTheFirstWithoutKind) {
    Set("TFont", "bPMingLiU");
    Set("TSize", "c");
    const DisplayFontSpec first = Font(3);
    const DisplayFontSpec second = Font(5);
    EXPECT_EQ(second.face, first.face);
    EXPECT_EQ(second.pointSize, first.pointSize);
    EXPECT_EQ(second.charset, first.charset);
    EXPECT_TRUE(second.kindMarker.isEmpty());
    // Slots outside 0..5 get the English font.
    EXPECT_EQ(Font(6).kindMarker, QStringLiteral("en"));
    EXPECT_EQ(Font(-1).kindMarker, QStringLiteral("en"));
}

TEST(PointsToPixels, RoundsHalfAwayFromZero) {
    // 13.33, 14.67, exactly 12, 0.5 up, -0.5 away from zero, 16.67, 26, 0.
    const int cases[][3] = {{10, 96, 13}, {11, 96, 15},  {9, 96, 12},   {3, 12, 1},
                            {-3, 12, -1}, {10, 120, 17}, {13, 144, 26}, {0, 96, 0}};
    for (const auto& [points, dpi, pixels] : cases) {
        EXPECT_EQ(PointsToPixels(points, dpi), pixels) << points << " pt at " << dpi;
    }
}
