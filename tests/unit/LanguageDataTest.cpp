#include "settings/LanguageData.h"
#include "dictionary/text/GbkCodec.h"
#include "dictionary/text/Romanisation.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace quillory;

namespace {

QString RepositoryLanguageText() {
    QFile file(QStringLiteral(QUILLORY_SOURCE_DIR "/resources/language/language.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QStringList SectionNames(const QString& text) {
    QStringList names;
    static const QRegularExpression header(QStringLiteral("^\\[([^\\]\\n]+)\\]$"),
                                           QRegularExpression::MultilineOption);
    for (auto it = header.globalMatch(text); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!names.contains(name)) {
            names.append(name);
        }
    }
    return names;
}

QByteArray Gbk(const QString& text) {
    const auto bytes = EncodeGbk(text);
    EXPECT_TRUE(bytes.has_value());
    return bytes.value_or(QByteArray());
}

// Language data from a UTF-8 text with the given names registered as ids 1, 2, ...
class LanguageFixture : public ::testing::Test {
protected:
    void Use(const QString& text, const QStringList& names) {
        language_.LoadGbk(Gbk(text));
        Register(names);
    }
    void Register(const QStringList& names) {
        for (qsizetype i = 0; i < names.size(); ++i) {
            ASSERT_TRUE(language_.RegisterTextId(static_cast<std::uint32_t>(i + 1), names[i]));
        }
    }
    QString Text(std::uint32_t id, int lang) const {
        const auto found = language_.GetText(id, lang);
        return found ? found->text : QStringLiteral("<none>");
    }
    QString Kind(std::uint32_t id, int lang) const {
        const auto found = language_.GetText(id, lang);
        return found ? found->kind : QStringLiteral("<none>");
    }
    // The kind and the text as "kind|text".
    QString KindAndText(std::uint32_t id, int lang) const { return Kind(id, lang) + u'|' + Text(id, lang); }

    RecordingReporter reporter_;
    LanguageData language_{reporter_};
};

constexpr int kLanguages[] = {kEnglish, kPinyin, kJianti, kFanti, kJyutping};

} // namespace

TEST(LanguageResource, EmbeddedTextIsTheRepositoryFileInGbk) {
    QFile resource(QStringLiteral(":/language/LANGUAGE.WAV"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    EXPECT_LT(bytes.size(), LanguageData::kMaxBytes);
    EXPECT_FALSE(bytes.contains('\0'));
    const auto decoded = DecodeGbk(bytes);
    ASSERT_TRUE(decoded.has_value());
    const QString source = RepositoryLanguageText();
    ASSERT_FALSE(source.isEmpty());
    EXPECT_EQ(*decoded, source);
}

using RealLanguageData = LanguageFixture;

TEST_F(RealLanguageData, EverySectionGivesATextInEveryLanguage) {
    ASSERT_TRUE(language_.Load(QStringLiteral("/nonexistent")));
    EXPECT_TRUE(reporter_.messages.isEmpty());
    const QStringList names = SectionNames(RepositoryLanguageText());
    EXPECT_EQ(names.size(), 81);
    Register(names);
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (int lang : kLanguages) {
            const auto text = language_.GetText(static_cast<std::uint32_t>(i + 1), lang);
            ASSERT_TRUE(text.has_value()) << names[i].toStdString() << " language " << lang;
            EXPECT_FALSE(text->text.trimmed().isEmpty()) << names[i].toStdString() << " language " << lang;
            EXPECT_TRUE(QStringList({"en", "py", "gb", "b5", "jp"}).contains(text->kind))
                << names[i].toStdString() << " kind " << text->kind.toStdString();
            // A Pinyin text whose syllables all convert keeps no tone digit.
            if (text->kind == u"py") {
                EXPECT_FALSE(text->text.contains(QRegularExpression(QStringLiteral("[a-z][1-5]"))))
                    << names[i].toStdString() << ": " << text->text.toStdString();
            }
        }
    }
}

TEST_F(RealLanguageData, TellingSections) {
    ASSERT_TRUE(language_.Load(QString()));
    Register({"IDC_BUTTON_ENGLISH", "IDC_BUTTON_MODE", "TTTID_STROKE_CHAR", "IDR_OPTIONS_CHINESE_FONT",
              "TOOLTIP_BTN_ENGLISH2", "IDC_BUTTON_JIANTI"});
    // The "dt=" line serves every language, and any index outside 0..4 acts as English.
    for (int lang : {0, 1, 2, 3, 4, 5, -1, 99}) {
        EXPECT_EQ(KindAndText(1, lang), QStringLiteral("en|English")) << lang;
        EXPECT_EQ(KindAndText(6, lang), QStringLiteral("gb|\u7B80\u4F53")) << lang;
    }

    // Pinyin is converted to the Pinyin font's letters, Jyutping keeps its tone digits.
    EXPECT_EQ(KindAndText(2, kEnglish), QStringLiteral("en|Mode"));
    EXPECT_EQ(KindAndText(2, kPinyin), QStringLiteral("py|") + MarkPinyinFont(u"mo2 shi4"));
    EXPECT_NE(Text(2, kPinyin), QStringLiteral("mo2 shi4"));
    EXPECT_EQ(KindAndText(2, kJianti), QStringLiteral("gb|\u6A21\u5F0F"));
    EXPECT_EQ(Kind(2, kFanti), QStringLiteral("b5"));
    EXPECT_EQ(KindAndText(2, kJyutping), QStringLiteral("jp|mou4 sik1"));
    EXPECT_EQ(Text(2, 7), QStringLiteral("Mode"));
    // Text and font slot together; each language's texts take the slot of the same index.
    for (const FontSlot slot : {FontSlot::English, FontSlot::Pinyin, FontSlot::Fanti, FontSlot::Jyutping}) {
        EXPECT_EQ(language_.GetTextAndFont(2, IndexOf(slot)).value().second, slot) << IndexOf(slot);
    }
    EXPECT_FALSE(language_.GetTextAndFont(999, kEnglish).has_value());

    EXPECT_EQ(Text(3, kFanti), QStringLiteral("\u756B"));
    EXPECT_EQ(Text(3, kEnglish), QStringLiteral("stroke(s)"));
    // A language line and a "dt=" fallback in one section.
    EXPECT_EQ(Text(4, kEnglish), QStringLiteral("Fonts"));
    EXPECT_EQ(Text(4, kJianti), QStringLiteral("\u5B57\u4F53"));

    EXPECT_EQ(Text(5, kEnglish), QStringLiteral("Current interface language:\nEnglish"));
    EXPECT_TRUE(Text(5, kPinyin).contains(u'\n'));
    EXPECT_FALSE(Text(5, kPinyin).contains(QStringLiteral("\\n")));
}

TEST_F(RealLanguageData, LabelKeysFindTheirTextsAndLeaveRoomInTheTable) {
    ASSERT_TRUE(language_.Load(QString()));
    const NameRegistry names;
    RegisterLabelKeys(language_, names);

    // Every id of the label-key table names a section of the data.
    int found = 0;
    auto count = [&](std::uint32_t from, std::uint32_t to) {
        for (std::uint32_t id = from; id <= to; ++id) {
            found += language_.GetText(id, kJianti).has_value() ? 1 : 0;
        }
    };
    count(1, 2000);
    count(32700, 32900);
    count(NameRegistry::kFirstId, NameRegistry::kFirstId + 200);
    EXPECT_EQ(found, 79);

    EXPECT_EQ(Text(1058, kJianti) + Text(1060, kJianti), QStringLiteral("Tessaravin"));
    EXPECT_EQ(Kind(1058, kPinyin), QStringLiteral("en"));
    EXPECT_EQ(Text(1019, kEnglish), Text(32804, kEnglish));
    EXPECT_EQ(Text(37, kEnglish), QStringLiteral("stroke(s)"));
    EXPECT_EQ(Text(1136, kEnglish), QStringLiteral("New Updates Available"));
    const auto go = names.idOf("TOOLTIP_BTN_GO");
    const auto welcome = names.idOf("HTML_ID_WELCOME");
    ASSERT_TRUE(go && welcome);
    EXPECT_NE(Text(*go, kFanti), QStringLiteral("<none>"));
    EXPECT_NE(Text(*welcome, kFanti), QStringLiteral("<none>"));
    // Stroke-player controls are no label keys.
    EXPECT_FALSE(language_.GetText(*names.idOf("IDC_BUTTON_CLOSE"), kEnglish).has_value());

    // Registering the table again replaces, it does not take more pairs.
    RegisterLabelKeys(language_, names);
    for (std::uint32_t i = 0; i < LanguageData::kMaxIds - 79; ++i) {
        EXPECT_TRUE(language_.RegisterTextId(60000 + i, "EXTRA")) << i;
    }
    EXPECT_FALSE(language_.RegisterTextId(61000, "EXTRA"));
}

using LanguageLookUp = LanguageFixture;

TEST_F(LanguageLookUp, FirstSectionOfANameWinsAndHeadersStartALine) {
    Use(QStringLiteral("[OTHER]\nen=en|see [IDC_BUTTON_COPY1]\n[IDC_BUTTON_COPY1]\nen=en|first\n"
                       "[IDC_BUTTON_COPY1]\nen=en|second\n"),
        {"IDC_BUTTON_COPY1"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("first"));
}

TEST_F(LanguageLookUp, KeysCountOnlyAtTheStartOfALine) {
    Use(QStringLiteral("[A]\njt=gb|x en=en|wrong\ndt=en|right\n[B]\npy=py|ni3 en=en|wrong2\n"), {"A", "B"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("right"));
    EXPECT_EQ(Text(1, kJianti), QStringLiteral("x en=en|wrong"));
    EXPECT_EQ(Text(2, kEnglish), QStringLiteral("<none>"));
}

TEST_F(LanguageLookUp, SectionsEndAtTheNextHeader) {
    Use(QStringLiteral("[EMPTY]\n[NEXT]\nen=en|next\n[NO_KEY]\npy=py|ma1\n[LAST]\nen=en|last"),
        {"EMPTY", "NEXT", "NO_KEY", "LAST", "NEXT]"});
    // An empty section does not borrow the next one's lines.
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("<none>"));
    EXPECT_EQ(Text(2, kEnglish), QStringLiteral("next"));
    // Neither the language's key nor "dt=": nothing, not the Pinyin line.
    EXPECT_EQ(Text(3, kEnglish), QStringLiteral("<none>"));
    EXPECT_EQ(Text(3, kPinyin), MarkPinyinFont(u"ma1"));
    // The last line needs no line feed.
    EXPECT_EQ(Text(4, kEnglish), QStringLiteral("last"));
    EXPECT_EQ(Text(5, kEnglish), QStringLiteral("<none>"));
}

TEST_F(LanguageLookUp, MalformedLinesFail) {
    Use(QStringLiteral(
            "[NO_BAR]\nen=en English\ndt=en|fallback\n[EMPTY_TEXT]\nen=xx|\n[TWO_BARS]\nen=en|a|b\n"
            "[BACKSLASH]\nen=en|one\\ntwo\\\\n\\nend\\\n"),
        {"NO_BAR", "EMPTY_TEXT", "TWO_BARS", "BACKSLASH"});
    // The language's line is taken even when it is broken; "dt=" is only for a missing key.
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("<none>"));
    EXPECT_EQ(Text(1, kPinyin), QStringLiteral("fallback"));
    EXPECT_EQ(Text(2, kEnglish), QString());
    EXPECT_EQ(Kind(2, kEnglish), QStringLiteral("xx"));
    EXPECT_EQ(FontSlotOfKind(Kind(2, kEnglish)), FontSlot::English);
    EXPECT_EQ(Text(3, kEnglish), QStringLiteral("a|b"));
    EXPECT_EQ(Text(4, kEnglish), QStringLiteral("one\ntwo\\\n\nend\\"));
}

TEST_F(LanguageLookUp, UnknownIdsFailAndTheCurrentLanguageServesByDefault) {
    Use(QStringLiteral("[A]\nen=en|a\njt=gb|b\n"), {"A"});
    EXPECT_FALSE(language_.GetText(2, kEnglish).has_value());
    EXPECT_FALSE(language_.RegisterTextId(0, "A"));
    EXPECT_FALSE(language_.GetText(0, kEnglish).has_value());
    EXPECT_EQ(language_.GetText(1)->text, QStringLiteral("a"));
    language_.SetLanguage(kJianti);
    EXPECT_EQ(language_.GetText(1)->text, QStringLiteral("b"));
}

TEST_F(LanguageLookUp, TheTableHoldsAHundredIdsAndReplacesNames) {
    Use(QStringLiteral("[A]\ndt=en|a\n[B]\ndt=en|b\n"), {});
    for (std::uint32_t id = 1; id <= LanguageData::kMaxIds; ++id) {
        ASSERT_TRUE(language_.RegisterTextId(id, "A"));
    }
    EXPECT_FALSE(language_.RegisterTextId(LanguageData::kMaxIds + 1, "A"));
    EXPECT_FALSE(language_.GetText(LanguageData::kMaxIds + 1, kEnglish).has_value());
    // A full table still takes replacements.
    EXPECT_TRUE(language_.RegisterTextId(LanguageData::kMaxIds, "B"));
    EXPECT_EQ(Text(LanguageData::kMaxIds, kEnglish), QStringLiteral("b"));
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("a"));
}

using HostileLanguageData = LanguageFixture;

TEST_F(HostileLanguageData, InvalidGbkLosesOnlyTheBadBytes) {
    const QByteArray data = QByteArray("[A]\nen=en|bad \xFF\xFE and cut \xD6\n[B]\njt=gb|") +
                            Gbk(u"\u4E2D\u6587"_qs) + QByteArray("\n[C]\nen=en|\x81\n");
    language_.LoadGbk(data);
    Register({"A", "B", "C"});
    const QString a = Text(1, kEnglish);
    EXPECT_TRUE(a.startsWith(QStringLiteral("bad ")));
    EXPECT_TRUE(a.contains(QStringLiteral(" and cut ")));
    EXPECT_TRUE(a.contains(QChar(0xFFFD)));
    EXPECT_EQ(Text(2, kJianti), QStringLiteral("\u4E2D\u6587"));
    EXPECT_NE(Text(3, kEnglish), QStringLiteral("<none>"));
}

TEST_F(HostileLanguageData, ZeroByteAndCarriageReturnsEndTheData) {
    language_.LoadGbk(QByteArray("[A]\r\nen=en|a\r\n[B]\ren=en|b\r", 26) +
                      QByteArray("\0[C]\nen=en|c\n", 13));
    Register({"A", "B", "C"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("a"));
    EXPECT_EQ(Text(2, kEnglish), QStringLiteral("b"));
    EXPECT_EQ(Text(3, kEnglish), QStringLiteral("<none>"));

    language_.LoadGbk(QByteArray("\0[A]\nen=en|a\n", 13));
    EXPECT_TRUE(language_.isEmpty());
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("<none>"));
}

TEST_F(HostileLanguageData, VeryLongLinesAreCutAtTheLimit) {
    const QString longText(70000, u'x');
    Use(QStringLiteral("[A]\nen=en|short\n[B]\nen=en|") + longText + QStringLiteral("\n[C]\nen=en|late\n"),
        {"A", "B", "C"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("short"));
    const QString b = Text(2, kEnglish);
    EXPECT_GT(b.size(), 50000);
    EXPECT_LT(b.size(), LanguageData::kMaxBytes);
    EXPECT_EQ(Text(3, kEnglish), QStringLiteral("<none>"));
}

TEST_F(HostileLanguageData, TenThousandLinesStayWithinTheLimit) {
    QString text;
    QStringList names;
    for (int i = 0; i < 5000; ++i) {
        const QString name = QStringLiteral("S%1").arg(i);
        text += u'[' + name + QStringLiteral("]\nen=en|%1\n").arg(i);
        if (i % 100 == 0) {
            names.append(name);
        }
    }
    // About 70 kB: the sections past 51200 bytes are cut off.
    Use(text, names);
    EXPECT_EQ(Text(1, kEnglish), "0");
    EXPECT_EQ(Text(20, kEnglish), "1900");
    EXPECT_EQ(Text(50, kEnglish), QStringLiteral("<none>"));

    QString lines;
    for (int i = 0; i < 10000; ++i) {
        lines += QStringLiteral("x\n");
    }
    Use(QStringLiteral("[TOP]\n") + lines + QStringLiteral("en=en|found\n"), {"TOP"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("found"));
}

// Loading from the data folder: the embedded resource is taken out for these
// cases and put back afterwards.
class LanguageFileFallback : public LanguageFixture {
protected:
    void SetUp() override {
        Q_CLEANUP_RESOURCE(quillory_language);
        ASSERT_FALSE(QFile::exists(QStringLiteral(":/language/LANGUAGE.WAV")));
        ASSERT_TRUE(dir_.isValid());
    }
    void TearDown() override { Q_INIT_RESOURCE(quillory_language); }

    void WriteFile(const QByteArray& bytes) {
        QFile file(QDir(dir_.path()).filePath(QStringLiteral("language.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
};

TEST_F(LanguageFileFallback, LanguageTextOfTheDataFolderIsRead) {
    WriteFile(Gbk(QStringLiteral("[IDC_BUTTON_MODE]\r\njt=gb|\u6A21\u5F0F\r\nen=en|Mode\r\n")));
    ASSERT_TRUE(language_.Load(dir_.path()));
    EXPECT_TRUE(reporter_.messages.isEmpty());
    Register({"IDC_BUTTON_MODE"});
    EXPECT_EQ(Text(1, kJianti), QStringLiteral("\u6A21\u5F0F"));
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("Mode"));
}

TEST_F(LanguageFileFallback, MissingTextIsReportedAndLeavesTheDataEmpty) {
    language_.LoadGbk("[A]\ndt=en|a\n");
    EXPECT_FALSE(language_.Load(dir_.path()));
    EXPECT_EQ(reporter_.messages, QStringList{QStringLiteral("Cannot load language data.")});
    EXPECT_TRUE(language_.isEmpty());
    Register({"A"});
    EXPECT_EQ(Text(1, kEnglish), QStringLiteral("<none>"));

    // An empty file is no error to report, but gives no texts either.
    WriteFile({});
    EXPECT_FALSE(language_.Load(dir_.path()));
    EXPECT_EQ(reporter_.messages.size(), 1);
    EXPECT_TRUE(language_.isEmpty());
}
