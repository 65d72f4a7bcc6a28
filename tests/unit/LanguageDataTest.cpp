#include "settings/LanguageData.h"
#include "dictionary/text/GbkCodec.h"
#include "dictionary/text/Romanisation.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

using namespace quillory;

namespace {

// A section's name and its texts in some languages, each as "kind|text" or "<none>".
struct Section {
    QString name;
    std::vector<std::pair<int, QString>> texts;
};

class LanguageDataTest : public ::testing::Test {
protected:
    QString KindAndText(std::uint32_t id, int lang) const {
        const auto found = language_.GetText(id, lang);
        return found ? found->kind + u'|' + found->text : QStringLiteral("<none>");
    }
    // The entry of a section found by name, through id 1.
    QString Lookup(const QString& name, int lang) {
        EXPECT_TRUE(language_.RegisterTextId(1, name));
        return KindAndText(1, lang);
    }
    void ExpectSections(const std::vector<Section>& sections) {
        for (const Section& section : sections) {
            for (const auto& [lang, text] : section.texts) {
                EXPECT_EQ(Lookup(section.name, lang), text) << section.name.toStdString() << ' ' << lang;
            }
        }
    }

    RecordingReporter reporter_;
    LanguageData language_{reporter_};
};

} // namespace

TEST_F(LanguageDataTest, EmbeddedTextIsTheRepositoryFileAndEverySectionHasEveryLanguage) {
    QFile resource(QStringLiteral(":/language/LANGUAGE.WAV"));
    QFile source(QStringLiteral(QUILLORY_SOURCE_DIR "/resources/language/language.txt"));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    const QByteArray bytes = resource.readAll();
    EXPECT_LT(bytes.size(), LanguageData::kMaxBytes);
    EXPECT_FALSE(bytes.contains('\0'));
    const QString text = QString::fromUtf8(source.readAll());
    EXPECT_EQ(DecodeGbk(bytes), std::optional<QString>(text));

    ASSERT_TRUE(language_.Load(QStringLiteral("/nonexistent")));
    EXPECT_TRUE(reporter_.messages.isEmpty());
    QStringList names;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            names.append(line.mid(1, line.size() - 2));
        }
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 86);
    for (const QString& name : names) {
        ASSERT_TRUE(language_.RegisterTextId(1, name));
        for (int lang : {kEnglish, kPinyin, kJianti, kFanti, kJyutping}) {
            SCOPED_TRACE(name.toStdString() + " language " + std::to_string(lang));
            const auto found = language_.GetText(1, lang);
            ASSERT_TRUE(found.has_value());
            EXPECT_FALSE(found->text.trimmed().isEmpty());
            EXPECT_TRUE(QStringList({"en", "py", "gb", "b5", "jp"}).contains(found->kind));
            // Pinyin is converted to the Pinyin font's letters, so no tone digit is left.
            if (found->kind == u"py") {
                EXPECT_FALSE(found->text.contains(QRegularExpression(QStringLiteral("[a-z][1-5]"))));
            }
        }
    }
}

TEST_F(LanguageDataTest, TellingSections) {
    ASSERT_TRUE(language_.Load(QString()));
    // The "dt=" line serves every language.
    for (int lang : {0, 1, 2, 3, 4, 5, -1, 99}) {
        EXPECT_EQ(Lookup("IDC_BUTTON_ENGLISH", lang), QStringLiteral("en|English")) << lang;
        EXPECT_EQ(Lookup("IDC_BUTTON_JIANTI", lang), QStringLiteral("gb|\u7B80\u4F53")) << lang;
    }
    // Jyutping keeps its tone digits; any index outside 0..4 acts as English.
    ExpectSections({{"IDC_BUTTON_MODE",
                     {{kEnglish, "en|Mode"},
                      {kPinyin, "py|" + MarkPinyinFont(u"mo2 shi4")},
                      {kJianti, "gb|\u6A21\u5F0F"},
                      {kFanti, "b5|\u6A21\u5F0F"},
                      {kJyutping, "jp|mou4 sik1"},
                      {7, "en|Mode"}}},
                    {"TTTID_STROKE_CHAR", {{kFanti, "b5|\u756B"}, {kEnglish, "en|stroke(s)"}}},
                    {"IDR_OPTIONS_CHINESE_FONT", {{kEnglish, "en|Fonts"}, {kJianti, "gb|\u5B57\u4F53"}}},
                    {"TOOLTIP_BTN_ENGLISH2", {{kEnglish, "en|Current interface language:\nEnglish"}}}});
    const QString tooltip = Lookup("TOOLTIP_BTN_ENGLISH2", kPinyin);
    EXPECT_TRUE(tooltip.contains(u'\n') && !tooltip.contains(QStringLiteral("\\n"))) << tooltip.toStdString();
    // Each language's texts take the font slot of the same index.
    ASSERT_TRUE(language_.RegisterTextId(2, "IDC_BUTTON_MODE"));
    for (const FontSlot slot : {FontSlot::English, FontSlot::Pinyin, FontSlot::Fanti, FontSlot::Jyutping}) {
        EXPECT_EQ(language_.GetTextAndFont(2, IndexOf(slot)).value().second, slot) << IndexOf(slot);
    }
    EXPECT_FALSE(language_.GetTextAndFont(999, kEnglish).has_value());
}

TEST_F(LanguageDataTest, LabelKeysFindTheirTextsAndLeaveRoomInTheTable) {
    ASSERT_TRUE(language_.Load(QString()));
    const NameRegistry names;
    RegisterLabelKeys(language_, names);
    // Every id of the label-key table names a section of the data.
    int found = 0;
    for (const std::uint32_t from : {1u, 32700u, NameRegistry::kFirstId}) {
        for (std::uint32_t id = from; id <= from + (from == 1 ? 2000 : 200); ++id) {
            found += language_.GetText(id, kJianti).has_value() ? 1 : 0;
        }
    }
    EXPECT_EQ(found, 84);

    EXPECT_EQ(KindAndText(1058, kJianti).mid(3) + KindAndText(1060, kJianti).mid(3),
              QStringLiteral("Tessaravin"));
    EXPECT_TRUE(KindAndText(1058, kPinyin).startsWith(QStringLiteral("en|")));
    EXPECT_EQ(KindAndText(1019, kEnglish), KindAndText(32804, kEnglish));
    EXPECT_EQ(KindAndText(37, kEnglish), QStringLiteral("en|stroke(s)"));
    EXPECT_EQ(KindAndText(1136, kEnglish), QStringLiteral("en|New Updates Available"));
    for (const char* key : {"TOOLTIP_BTN_GO", "HTML_ID_WELCOME"}) { // id 0 is never found
        EXPECT_TRUE(language_.GetText(names.idOf(key).value_or(0), kFanti).has_value()) << key;
    }
    // Stroke-player controls are no label keys.
    EXPECT_FALSE(language_.GetText(*names.idOf("IDC_BUTTON_CLOSE"), kEnglish).has_value());
    // Registering the table again replaces, it does not take more pairs.
    RegisterLabelKeys(language_, names);
    for (std::uint32_t i = 0; i < LanguageData::kMaxIds - 84; ++i) {
        EXPECT_TRUE(language_.RegisterTextId(60000 + i, "EXTRA")) << i;
    }
    EXPECT_FALSE(language_.RegisterTextId(61000, "EXTRA"));
}

TEST_F(LanguageDataTest, SectionsAndLinesOfHandWrittenData) {
    // Each section is named after the rule it shows.
    language_.LoadGbk(
        "[OTHER]\nen=en|see [FIRST_WINS]\n[FIRST_WINS]\nen=en|first\n[FIRST_WINS]\nen=en|second\n"
        "[KEY_STARTS_LINE]\njt=gb|x en=en|wrong\ndt=en|right\n"
        "[EMPTY_BORROWS_NOTHING]\n[NEXT]\nen=en|next\n[NO_KEY_NO_DT]\npy=py|ma1\n"
        "[BROKEN_LINE_TAKEN]\nen=en English\ndt=en|fallback\n[EMPTY_TEXT]\nen=xx|\n"
        "[TWO_BARS]\nen=en|a|b\n[BACKSLASH]\nen=en|one\\ntwo\\\\n\\nend\\\n"
        "[CRLF]\r\nen=en|a\r\n[CR]\ren=en|b\r[BAD_BYTES]\nen=en|bad \xFF\xFE and cut \xD6\n"
        "[BAD_LEAD_BYTE]\nen=en|\x81\n[GBK]\njt=gb|" +
        EncodeGbk(u"\u4E2D\u6587"_qs).value() + "\n[NO_FINAL_LINE_FEED]\nen=en|last");
    const QString none = QStringLiteral("<none>");
    ExpectSections({{"FIRST_WINS", {{kEnglish, "en|first"}}},
                    {"KEY_STARTS_LINE", {{kEnglish, "en|right"}, {kJianti, "gb|x en=en|wrong"}}},
                    {"EMPTY_BORROWS_NOTHING", {{kEnglish, none}}},
                    {"NEXT", {{kEnglish, "en|next"}}},
                    {"NEXT]", {{kEnglish, none}}},
                    {"NO_KEY_NO_DT", {{kEnglish, none}, {kPinyin, "py|" + MarkPinyinFont(u"ma1")}}},
                    {"BROKEN_LINE_TAKEN", {{kEnglish, none}, {kPinyin, "en|fallback"}}},
                    {"EMPTY_TEXT", {{kEnglish, "xx|"}}},
                    {"TWO_BARS", {{kEnglish, "en|a|b"}}},
                    {"BACKSLASH", {{kEnglish, "en|one\ntwo\\\n\nend\\"}}},
                    {"CRLF", {{kEnglish, "en|a"}}},
                    {"CR", {{kEnglish, "en|b"}}},
                    {"BAD_LEAD_BYTE", {{kEnglish, "en|\uFFFD"}}},
                    {"GBK", {{kJianti, "gb|\u4E2D\u6587"}}},
                    {"NO_FINAL_LINE_FEED", {{kEnglish, "en|last"}}}});
    EXPECT_EQ(FontSlotOfKind(QStringLiteral("xx")), FontSlot::English);
    EXPECT_TRUE(Lookup("BAD_BYTES", kEnglish).contains(QRegularExpression(u"^en\\|bad \uFFFD+ and cut "_qs)));
}

TEST_F(LanguageDataTest, IdsOfTheTableAndTheSizeLimit) {
    language_.LoadGbk("[A]\nen=en|a\njt=gb|b\n[B]\ndt=en|b\n");
    EXPECT_FALSE(language_.RegisterTextId(0, "A"));
    EXPECT_FALSE(language_.GetText(0, kEnglish).has_value());
    for (std::uint32_t id = 1; id <= LanguageData::kMaxIds; ++id) {
        ASSERT_TRUE(language_.RegisterTextId(id, "A"));
    }
    EXPECT_FALSE(language_.RegisterTextId(LanguageData::kMaxIds + 1, "A"));
    EXPECT_FALSE(language_.GetText(LanguageData::kMaxIds + 1, kEnglish).has_value());
    EXPECT_TRUE(language_.RegisterTextId(LanguageData::kMaxIds, "B")); // a full table takes replacements
    EXPECT_EQ(KindAndText(LanguageData::kMaxIds, kEnglish), QStringLiteral("en|b"));
    EXPECT_EQ(language_.GetText(1)->text, QStringLiteral("a")); // the current language serves by default
    language_.SetLanguage(kJianti);
    EXPECT_EQ(language_.GetText(1)->text, QStringLiteral("b"));
    // Data past the size limit is cut off.
    language_.LoadGbk("[A]\nen=en|short\n[B]\nen=en|" + QByteArray(70000, 'x') + "\n[C]\nen=en|late\n");
    EXPECT_EQ(Lookup("A", kEnglish), QStringLiteral("en|short"));
    EXPECT_GT(Lookup("B", kEnglish).size(), 50000);
    EXPECT_LT(Lookup("B", kEnglish).size(), LanguageData::kMaxBytes);
    EXPECT_EQ(Lookup("C", kEnglish), QStringLiteral("<none>"));
    // About 70 kB of short sections: those past 51200 bytes are cut off.
    QByteArray data;
    for (int i = 0; i < 5000; ++i) {
        data += "[S" + QByteArray::number(i) + "]\nen=en|" + QByteArray::number(i) + "\n";
    }
    language_.LoadGbk(data);
    ExpectSections({{"S0", {{kEnglish, "en|0"}}},
                    {"S1900", {{kEnglish, "en|1900"}}},
                    {"S4900", {{kEnglish, "<none>"}}}});
    // Ten thousand lines are read; a zero byte ends the data.
    language_.LoadGbk("[TOP]\n" + QByteArray("x\n").repeated(10000) + "en=en|found\n" +
                      QByteArray("\0[C]\nen=en|c\n", 13));
    EXPECT_EQ(Lookup("TOP", kEnglish), QStringLiteral("en|found"));
    EXPECT_EQ(Lookup("C", kEnglish), QStringLiteral("<none>"));
    language_.LoadGbk(QByteArray("\0[A]\nen=en|a\n", 13));
    EXPECT_TRUE(language_.isEmpty());
}

TEST_F(LanguageDataTest, LanguageTextOfTheDataFolderIsReadWithoutTheEmbeddedOne) {
    Q_CLEANUP_RESOURCE(quillory_language);
    const auto restore = qScopeGuard([] { Q_INIT_RESOURCE(quillory_language); });
    QTemporaryDir dir;
    const auto loadFile = [&](const QByteArray& bytes) {
        QFile file(dir.filePath(QStringLiteral("language.txt")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        return language_.Load(dir.path());
    };
    // A missing file is reported and leaves the data empty.
    language_.LoadGbk("[A]\ndt=en|a\n");
    EXPECT_FALSE(language_.Load(dir.path()));
    EXPECT_EQ(reporter_.messages, QStringList{QStringLiteral("Cannot load language data.")});
    EXPECT_TRUE(language_.isEmpty());
    EXPECT_EQ(Lookup("A", kEnglish), QStringLiteral("<none>"));
    // An empty file is no error to report, but gives no texts either.
    EXPECT_FALSE(loadFile({}));
    EXPECT_TRUE(language_.isEmpty());

    EXPECT_TRUE(loadFile(EncodeGbk(u"[MODE]\r\njt=gb|\u6A21\u5F0F\r\nen=en|Mode\r\n"_qs).value()));
    EXPECT_EQ(reporter_.messages.size(), 1);
    ExpectSections({{"MODE", {{kJianti, "gb|\u6A21\u5F0F"}, {kEnglish, "en|Mode"}}}});
}
