// The reading section of the English page on hand-made look-up results: one golden page
// (tests/data/golden, QUILLORY_UPDATE_GOLDEN=1 rewrites it), then the rules that matter.
#include "pages/builders/ReadingSection.h"
#include "dictionary/files/DataIndex.h"
#include "pages/builders/PageBuilder.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

namespace quillory {
namespace {

LookupMatch Match(const char* word, const char* traditional, const char* pinyin, const char* jyutping,
                  const char* english) {
    return {QString::fromUtf8(word), QString::fromUtf8(traditional), pinyin, jyutping, english, 0};
}

QString Hex(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}

QString Link(std::uint32_t code) {
    return QStringLiteral("<a href=mmpp://0=%1><span class=gb>&#x%1;</span></a>").arg(Hex(code));
}

class ReadingSectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Load(QString()));
        RegisterLabelKeys(language_, names_);
    }
    // The section for the readings; the syllable pages asked for are noted in asked_.
    QString Section(const std::vector<ReadingMatches>& readings, int characters = 3) {
        ReadingSection section(builder_, [this, characters](Scheme scheme, SyllableId id) {
            asked_.emplace_back(scheme, id);
            CharacterList chars{0x41}; // no ideograph: never shown
            for (int i = 0; i < characters; ++i)
                chars.push_back(0x5988 + std::uint32_t(i));
            return chars;
        });
        QString out = QStringLiteral("<x>");
        section.Make(readings, out);
        return out;
    }
    static SyllableId Id(const char* syllable, Scheme scheme) { return *EncodeSyllable(syllable, scheme); }

    RecordingReporter reporter_;
    NameRegistry names_;
    LanguageData language_{reporter_};
    DataIndex index_{reporter_};
    PageBuilder builder_{language_, names_, index_};
    std::vector<std::pair<Scheme, SyllableId>> asked_;
};

TEST_F(ReadingSectionTest, ShowsPinyinThenJyutpingWithSyllableLinesAndEscapedGlosses) {
    const QString page = Section({
        {ReadingSystem::Pinyin,
         {Match("妈", "媽", "ma1", "maa1", "mum / mother"), Match("吗", "嗎", "ma5", "maa3", "<question>")},
         "ma"},
        {ReadingSystem::Jyutping, {Match("唔该", "唔該", "wu2 gai1", "m4 goi1", "")}, ""},
    });
    QFile file(QStringLiteral(QUILLORY_TEST_DATA_DIR "/golden/reading-section-ma.html"));
    if (qEnvironmentVariableIsSet("QUILLORY_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(page.toUtf8() + '\n');
    } else {
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(page, QString::fromUtf8(file.readAll()).chopped(1));
    }
    // Only the Pinyin syllable asked for its characters, by the id its link carries.
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], std::pair(Scheme::Pinyin, Id("ma1", Scheme::Pinyin)));
}

TEST_F(ReadingSectionTest, LinesFollowTheSystemAndTheMatchedWord) {
    struct Case {
        const char* name;
        std::vector<ReadingMatches> readings;
        std::vector<QString> held;
        std::vector<QString> lacked;
    };
    const SyllableId zung = Id("zung1", Scheme::Jyutping);
    const std::vector<Case> cases = {
        {"nothing matched: no table", {}, {}, {QStringLiteral("<table")}},
        {"a system without matches or syllable: no row",
         {{ReadingSystem::Jyutping, {}, ""}},
         {},
         {QStringLiteral("<table")}},
        {"Jyutping syllable: its page, ideographs only, at most a line of them",
         {{ReadingSystem::Jyutping, {}, "zung"}},
         {QStringLiteral("mmpp://3=%1><span class=jp_green>[zung]</span></a>&nbsp;").arg(Hex(zung)),
          Link(0x5988 + kSyllableLineCharacters - 1) + QStringLiteral("</td></tr></table>")},
         {QStringLiteral("&#x41;"), Link(0x5988 + kSyllableLineCharacters)}},
        {"syllable line: the characters matched as words first, in the matches' order",
         {{ReadingSystem::Pinyin,
           {Match("妊", "妊", "ren4", "", "pregnant"), Match("妊娠", "妊娠", "ren4 shen1", "", "pregnancy"),
            Match("中", "中", "zhong1", "", "middle")},
           "ma"}},
         {QStringLiteral("[ma]</span></a>&nbsp;") + Link(0x598A) + "&nbsp;" + Link(0x5988) + "&nbsp;" +
          Link(0x5989) + "&nbsp;" + Link(0x598B) + "&nbsp;"},
         {QStringLiteral("&nbsp;") + Link(0x4E2D)}},
        {"no syllable of the system: no syllable line",
         {{ReadingSystem::Pinyin, {Match("中", "中", "zhong1", "zung1", "middle")}, "zung"}},
         {QStringLiteral("<td>") + Link(0x4E2D) + QStringLiteral("&nbsp;<span class=py_green>")},
         {QStringLiteral("mmpp://1=")}},
        {"Pinyin in the font form, ü shown as ü, same forms once, other characters as text",
         {{ReadingSystem::Pinyin, {Match("卡拉OK", "卡拉OK", "ka3 la1 O K", "", "karaoke")}, "lv"}},
         {QString::fromUtf16(u"<span class=py_green>[l\u00FC]</span>"),
          Link(0x62C9) + QStringLiteral("OK&nbsp;<span class=py_green>") + MarkPinyinFont(u"ka3 la1 O K"),
          QStringLiteral("</span>&nbsp;karaoke")},
         {QStringLiteral("OK&nbsp;[")}},
        {"Jyutping reading, traditional form in brackets",
         {{ReadingSystem::Jyutping, {Match("你们", "你們", "ni3 men5", "nei5 mun4", "you (plural)")}, ""}},
         {Link(0x4EEC) + QStringLiteral("&nbsp;[") + Link(0x4F60) + Link(0x5011) + QStringLiteral("]"),
          QStringLiteral("<span class=jp_green>nei5 mun4</span>&nbsp;you (plural)")},
         {QStringLiteral("py_green")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString page = Section(c.readings, kSyllableLineCharacters + 5);
        for (const QString& text : c.held)
            EXPECT_TRUE(page.contains(text)) << text.toStdString() << " in " << page.toStdString();
        for (const QString& text : c.lacked)
            EXPECT_FALSE(page.contains(text)) << text.toStdString() << " in " << page.toStdString();
    }
}

TEST(SyllablePageId, NamesTheFirstToneOfASyllableOfTheScheme) {
    const std::tuple<const char*, Scheme, const char*> cases[] = {
        {"zhong", Scheme::Pinyin, "zhong1"}, {"Zhong ", Scheme::Pinyin, "zhong1"},
        {"lv", Scheme::Pinyin, "lv1"},       {"zung", Scheme::Jyutping, "zung1"},
        {"zung", Scheme::Pinyin, nullptr},   {"zhong", Scheme::Jyutping, nullptr},
        {"", Scheme::Pinyin, nullptr},       {"ma1", Scheme::Pinyin, nullptr},
    };
    for (const auto& [syllable, scheme, toned] : cases) {
        const std::optional<SyllableId> expected =
            toned ? EncodeSyllable(toned, scheme) : std::optional<SyllableId>();
        EXPECT_EQ(SyllablePageId(QString::fromUtf8(syllable), scheme), expected) << syllable;
    }
}

} // namespace
} // namespace quillory
