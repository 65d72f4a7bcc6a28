// Result, list and fixed pages and stand-alone pages: one golden page per builder (tests/data/golden,
// QUILLORY_UPDATE_GOLDEN=1 rewrites them); elsewhere only the fragments that matter.
#include "pages/builders/PageBuilder.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/Dictionary.h"
#include "dictionary/files/DataIndex.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/builders/PageResources.h"
#include "pages/builders/StandalonePage.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SmallData.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quillory {
namespace {

// A check of a page or, wrapped in Row, of one table row's value cell: equal to the text, starting or
// ending with it, holding it (exactly `times` times when times >= 0) or lacking it.
enum Kind { kIs, kStarts, kEnds, kHas, kLacks };
struct Fragment {
    Kind kind;
    QString text;
    int times = -1;
    QString row; // the label of the checked row; empty: the whole page
};
// A request: a builder call writing into a page that holds "<x>" (appending calls keep it).
struct PageCase {
    const char* name;
    std::function<void(const PageBuilder&, QString&)> build;
    std::vector<Fragment> fragments;
};
constexpr int kNoLabels = -1; // the builder without any interface texts

class PageBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Load(QString()));
        RegisterLabelKeys(language_, names_);
        QString error;
        QByteArray file = datagen::BuildIndexFile(SoundContent(), &error);
        ASSERT_FALSE(file.isEmpty()) << error.toStdString();
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(index_.LoadDataIndex(buffer));
        builder_ = std::make_unique<PageBuilder>(language_, names_, index_);
    }

    static Fragment Is(const QString& text) { return {kIs, text}; }
    static Fragment Starts(const QString& text) { return {kStarts, text}; }
    static Fragment Ends(const QString& text) { return {kEnds, text}; }
    static Fragment Has(const QString& text, int times = -1) { return {kHas, text, times}; }
    static Fragment Lacks(const QString& text) { return {kLacks, text}; }
    static Fragment Row(const QString& label, Fragment f) { return {f.kind, f.text, f.times, label}; }

    static SyllableId Pinyin(const char* text) { return EncodeSyllable(text, Scheme::Pinyin).value(); }
    static SyllableId Jyutping(const char* text) { return EncodeSyllable(text, Scheme::Jyutping).value(); }
    static QString Hex(std::uint32_t value) { return QString::number(value, 16).toUpper(); }
    // A Pinyin reading as the Pinyin display font shows it.
    static QString Marked(const char* syllable) {
        return "<span class=py_green>" + MarkPinyinFont(QString::fromLatin1(syllable)) + "</span>";
    }
    // Reading elements of a word's Pinyin cell, with and without a recording.
    static QString Sounded(const char* syllable) {
        return Marked(syllable) + "&nbsp;<a href=mmpp://2=" + Hex(Pinyin(syllable)) +
               "><img style=\"vertical-align:middle\" src=speaker.gif></a>&nbsp;";
    }
    static QString Silent(const char* syllable) {
        return Marked(syllable) + "&nbsp;<img src=speaker2.gif>&nbsp;";
    }
    static QString Link(std::uint32_t code) {
        return QStringLiteral("<a href=mmpp://0=%1><span class=gb>&#x%1;</span></a>").arg(Hex(code));
    }
    // count ideographs from first, after the code points of before.
    static CharacterList Chars(std::uint32_t first, int count, CharacterList before = {}) {
        for (std::uint32_t code = first; code < first + std::uint32_t(count); ++code)
            before.push_back(code);
        return before;
    }
    static QString Links(std::uint32_t first, int count) {
        QString links;
        for (std::uint32_t code : Chars(first, count))
            links += Link(code) + "&nbsp;";
        return links;
    }
    static QString Support(int id, const char* label) {
        return QStringLiteral("<a href=mmpp://D=%1><span class=en>%2</span></a><br><br>").arg(id).arg(label);
    }

    // zhong1, zhong4 and zung1 have recordings; nothing else has.
    static datagen::IndexContent SoundContent() {
        datagen::IndexContent c;
        c.version = 7;
        c.pinyinSounds = {{Pinyin("zhong1"), 0}, {Pinyin("zhong4"), 5000}};
        c.jyutpingSounds = {{Jyutping("zung1"), 0}};
        c.strokeCountChunks = {{1, 64, 0}};
        c.pinyinChunks = {{Pinyin("a1"), Pinyin("zuo5"), 0}};
        c.jyutpingChunks = {{Jyutping("aa1"), Jyutping("zyut6"), 0}};
        c.radicalChunks = {{"1.0", "214.17", 0}};
        c.pinyinSyllables = {Pinyin("zhong1")};
        c.jyutpingSyllables = {Jyutping("zung1")};
        c.strokeCounts = {4};
        c.radicalTable = "1.0\t4E00 0 1 2\n2.0\t4E28 0 1 2 3\n9.0\t4EBA 4EBB 3400 0 1 2\n9'.0\t4EBB 1\n"
                         "12.0\t516B 0\n12'.0\t4E37 1\n";
        return c;
    }
    static CharacterRecord Zhong() {
        return {.code = 0x4E2D,
                .pinyin = "Zhong1 zhong4",
                .jyutping = "zung1 zung3",
                .strokes = "4",
                .radical = "2.3",
                .english2 = "unused",
                .fanti = "4E2D",
                .jianti = "4E2D",
                .english = "central / center"};
    }
    static auto Table(CharacterRecord record, bool withSound = true) {
        return [=](const PageBuilder& b, QString& page) { b.MakeCharacterTable(record, page, withSound); };
    }

    // The value cell of the table row whose label cell holds labelText.
    static QString CellOf(const QString& table, const QString& labelText) {
        const QString head = ">" + labelText + "</span></td><td>";
        const qsizetype start = table.indexOf(head);
        if (start < 0)
            return "<no row " + labelText + ">";
        const qsizetype from = start + head.size();
        return table.mid(from, table.indexOf(QStringLiteral("</td></tr>"), from) - from);
    }
    // Builds every page with the given interface language and checks its fragments.
    void ExpectPages(int language, const std::vector<PageCase>& cases) {
        LanguageData none(reporter_);
        const PageBuilder bare(none, names_, index_);
        language_.SetLanguage(language == kNoLabels ? kEnglish : language);
        for (const PageCase& c : cases) {
            SCOPED_TRACE(c.name);
            QString page = QStringLiteral("<x>");
            c.build(language == kNoLabels ? bare : *builder_, page);
            for (const Fragment& f : c.fragments) {
                const QString part = f.row.isEmpty() ? page : CellOf(page, f.row);
                const bool found[] = {part == f.text, part.startsWith(f.text), part.endsWith(f.text),
                                      f.times < 0 ? part.contains(f.text) : part.count(f.text) == f.times,
                                      !part.contains(f.text)};
                EXPECT_TRUE(found[f.kind]) << "check " << f.kind << " of " << f.text.toStdString() << " in "
                                           << f.row.toStdString() << ": " << part.toStdString();
            }
        }
    }
    // Compares a page with its golden file; QUILLORY_UPDATE_GOLDEN=1 rewrites it.
    static void ExpectGolden(const QString& page, const char* name) {
        QFile file(QStringLiteral(QUILLORY_TEST_DATA_DIR "/golden/") + QString::fromLatin1(name));
        if (qEnvironmentVariableIsSet("QUILLORY_UPDATE_GOLDEN")) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(page.toUtf8() + '\n');
            return;
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_EQ(page, QString::fromUtf8(file.readAll()).chopped(1)) << name;
    }

    RecordingReporter reporter_;
    NameRegistry names_;
    LanguageData language_{reporter_};
    DataIndex index_{reporter_};
    std::unique_ptr<PageBuilder> builder_;
};

TEST_F(PageBuilderTest, CharacterTableOfZhongIsTheGoldenPage) {
    QString out = QStringLiteral("<p>kept</p>");
    builder_->MakeCharacterTable(Zhong(), out, true);
    ExpectGolden(out, "character-table-zhong.html");
}

TEST_F(PageBuilderTest, TablesShowReadingsVariantsRadicalFormsAndEscapedText) {
    const QString hostile = "<script>alert('x')</script> & \"q\"";
    const QString escaped = "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;";
    EXPECT_EQ(EscapeHtml(hostile), escaped);
    const QString wordHead = "<x><table width=100%><tr><td><span class=en>";
    ExpectPages(
        kEnglish,
        {
            // 这: a token that is no syllable, a double blank, a radical without a line.
            {"fallbacks",
             Table({.code = 0x8FD9, .pinyin = "zhe4 xx9  zhei4", .radical = "162'.4", .english2 = "this"},
                   false),
             {Row("Pinyin", Is(Marked("zhe4") + "&nbsp;" + Marked("zhei4") + "&nbsp;")),
              Row("Jyutping", Is("&nbsp;")), Row("English", Is("this")), Row("Radical", Is("162&#39;.4")),
              Row("Strokes", Is("")), Lacks("speaker")}},
            {"no syllable",
             [](auto& b, auto& page) { b.MakePinyinReading(0xFFFF, page, true); },
             {Is("<x>")}},
            {"liu4",
             [](auto& b, auto& page) { b.MakePinyinReading(Pinyin("liu4"), page, false); },
             {Is(Marked("liu4")), Has("li" + QString(QChar(0xD3)))}}, // liù: the mark on the u
            // Variants: the character itself left out, U+4E00..U+9FA5 linked, any other shown unlinked, a
            // supplementary-plane form not cut to 16 bits, a token that is no character shown as nothing.
            {"variants",
             Table({.code = 0x508C, .fanti = "9A82 2B5E7 8fd9 zz", .jianti = " 3437 508C "}),
             {Row("Simplified", Is("<span class=gb>&#x3437;</span>&nbsp;&nbsp;")),
              Row("Traditional", Is(Link(0x9A82) + "&nbsp;<span class=gb>&#x2B5E7;</span>&nbsp;" +
                                    Link(0x8FD9) + "&nbsp;&nbsp;")),
              Lacks("mmpp://0=3437")}},
            {"radical form out of range",
             Table({.code = 0x4E2D, .radical = "9.5"}),
             {Row("Radical", Ends("&nbsp;<span class=en>*</span>&nbsp;]"))}},
            {"word",
             [](auto& b, auto& page) {
                 b.MakeWordTable("中国", "zhong1 guo2 / zhong4 guo2", "zung1 gwok3", "China", page);
             },
             {Starts(wordHead + "Chinese</span>"), Ends("</table>"),
              Row("Chinese", Is(Link(0x4E2D) + Link(0x56FD))),
              Row("Pinyin",
                  Is(Sounded("zhong1") + Silent("guo2") + "/&nbsp;" + Sounded("zhong4") + Silent("guo2"))),
              Row("Jyutping", Ends("<span class=jp_green>gwok3</span>&nbsp;<img src=speaker2.gif>&nbsp;")),
              Row("English", Is("China")), Row("Unicode", Is("4E2D&nbsp;56FD&nbsp;"))}},
            {"word without readings",
             [](auto& b, auto& page) { b.MakeWordTable("中", "", " ", "", page); },
             {Row("Pinyin", Is("&nbsp;")), Row("Jyutping", Is("&nbsp;"))}},
            {"english",
             [](auto& b, auto& page) {
                 b.MakeEnglishTable("T-shirt", {{"T恤", "T xu4"}, {"汗衫", ""}}, page);
             },
             {Starts(wordHead + "English</span>"), Row("English", Is("T-shirt")),
              Row("Chinese", Is("T" + Link(0x6064) + "&nbsp;<span class=py_green>T " + MarkPinyinFont("xu4") +
                                "</span><br>" + Link(0x6C57) + Link(0x886B)))}},
            {"english without words",
             [](auto& b, auto& page) { b.MakeEnglishTable("nothing", {}, page); },
             {Row("Chinese", Is("&nbsp;"))}},
            // Text from records and queries is escaped.
            {"escaped character",
             Table({.code = 0x4E2D, .strokes = "4<b>", .radical = "<i>2.3", .english = hostile}),
             {Row("English", Is(escaped)), Row("Strokes", Is("4&lt;b&gt;")),
              Row("Radical", Starts("&lt;i&gt;2.3"))}},
            {"escaped word",
             [&](auto& b, auto& page) { b.MakeWordTable("<a>", hostile, hostile, hostile, page); },
             {Row("English", Is(escaped)), Row("Chinese", Is(Link(0x3C) + Link(0x61) + Link(0x3E)))}},
            {"escaped english",
             [&](auto& b, auto& page) {
                 b.MakeEnglishTable(hostile, {{"A<b>&", "<q>"}}, page);
             },
             {Row("English", Is(escaped)), Row("Chinese", Starts("A&lt;b&gt;&amp;&nbsp;")), Lacks("<script"),
              Lacks("<q>")}},
        });
}

// RadicalForms reads the radical's own line: "2'." is not found inside "12'.0"; a form outside
// U+4E00..U+9FA5 is flagged.
TEST_F(PageBuilderTest, RadicalFormsOfTheRadicalsOwnLine) {
    const struct {
        const char* radical;
        bool found;
        CharacterList forms;
        bool outOfRange;
    } cases[] = {{"2.3", true, {0x4E28}, false},  {"9.5", true, {0x4EBA, 0x4EBB}, true},
                 {"9'.5", true, {0x4EBB}, false}, {"12.5", true, {0x516B}, false},
                 {"2'.1", false, {}, false},      {"12", false, {}, false},
                 {"", false, {}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radical);
        CharacterList forms = {1};
        bool outOfRange = !c.outOfRange;
        EXPECT_EQ(builder_->RadicalForms(QString::fromLatin1(c.radical), forms, outOfRange), c.found);
        EXPECT_EQ(forms, c.forms);
        if (c.found)
            EXPECT_EQ(outOfRange, c.outOfRange);
    }
}

// Sections break after 18 ideographs, stroke sections and radical groups after 16; code points
// outside the range are neither shown nor counted.
TEST_F(PageBuilderTest, ListSectionsAndFixedBodies) {
    const CharacterList chars = Chars(0x4E00, 17, {0x41});
    const QString lines = Links(0x4E00, 16) + "<br>" + Links(0x4E10, 1) + "<br>";
    const QString logo = "<a href=https://www.tessaravin.example/ target=_blank><img src=logo.gif></a></p>";
    ExpectPages(
        kEnglish,
        {
            {"pinyin heading",
             [](auto& b, auto& page) { b.MakePinyinHeading("lv4", page); },
             {Is("<span class=py_green_large>" + MarkPinyinFont("lv5") + "</span><br>")}},
            {"jyutping heading",
             [](auto& b, auto& page) { b.MakeJyutpingHeading("zung1", page); },
             {Is("<span class=jp_green_large>zung</span><br>")}},
            {"pinyin section",
             [](auto& b, auto& page) {
                 b.MakePinyinSection("zhong1", Chars(0x4E00, 19, {0x41, 0x20000}), page);
             },
             {Starts("<x><br>" + Marked("zhong1") + "&nbsp;<a href=mmpp://2=1916>"),
              Ends("<br>" + Links(0x4E00, 18) + "<br>" + Links(0x4E12, 1) + "<br>")}},
            {"jyutping section",
             [](auto& b, auto& page) { b.MakeJyutpingSection("zung3", {0x4E2D}, page); },
             {Is("<x><br><span class=jp_green>zung3</span>&nbsp;<img src=speaker2.gif><br>" +
                 Links(0x4E2D, 1) + "<br>")}},
            {"stroke section",
             [&](auto& b, auto& page) { b.MakeStrokeSection(4, chars, page); },
             {Is("<x><br><span class=en>4</span>&nbsp;<span class=en>stroke(s)</span><br><br>" + lines)}},
            {"radical group",
             [&](auto& b, auto& page) { b.MakeRadicalGroup(0, chars, page); },
             {Is("<x><br><span class=en>0</span>&nbsp;<span class=en>stroke(s)</span><br>" + lines)}},
            {"radical forms",
             [](auto& b, auto& page) {
                 b.MakeRadicalForms({0x4E28, 0x3400}, page);
             },
             {Is(Links(0x4E28, 1) + "<span class=en>*</span><br>")}},
            {"radical form",
             [](auto& b, auto& page) { b.MakeRadicalForms({0x4EBA}, page); },
             {Is(Links(0x4EBA, 1) + "<br>")}},
            {"support",
             [](auto& b, auto& page) { b.MakeSupportBody(page); },
             {Is("<p align=center>" + Support(1, "FAQ") + Support(3, "Technical Support Request") +
                 Support(2, "Bug Report") + Support(4, "Useful Links") +
                 Support(5, "Give us some suggestions") + "</p><p align=center>" + logo)}},
            {"version",
             [](auto& b, auto& page) { b.MakeVersionBlock(page); },
             {Starts("<p align=center><font size=3><b>Version 1.0</b></font></p>"), Has(kVersionYears),
              Ends("<p align=center><img src=circle.gif></p>")}},
        });
    // Jianti labels, while the welcome body shows every greeting.
    ExpectPages(
        kJianti,
        {
            {"labels",
             Table(Zhong()),
             {Has("<tr><td><span class=gb>汉字</span></td>"),
              Has("<tr><td><span class=gb>部首</span></td>")}},
            {"strokes",
             [](auto& b, auto& page) { b.MakeStrokeSection(2, {}, page); },
             {Ends("<span class=gb>划</span><br><br><br>")}},
            {"welcome",
             [](auto& b, auto& page) { b.MakeWelcomeBody(page); },
             {Starts("<br><p align=center><font size=6 color=blue><b>Tessaravin</b></font><br>" + logo),
              Ends("<p align=center><span class=en>Welcome to Quillory!</span><br><br><span "
                   "class=gb>欢迎使用 Quillory！</span>"
                   "<br><br><span class=b5>歡迎使用 Quillory！</span><br><br><span class=py>" +
                   MarkPinyinFont("huan1 ying2 shi3 yong4 Quillory!") +
                   "</span><br><br><span class=jp>fun1 jing4 si2 jung6 Quillory!</span></p>")}},
        });
    // Missing labels leave empty cells and drop elements.
    ExpectPages(
        kNoLabels,
        {
            {"table",
             Table(Zhong(), false),
             {Starts("<x><table width=100%><tr><td></td><td><span class=gb>"), Has("<tr><td></td>", 9)}},
            {"support", [](auto& b, auto& page) { b.MakeSupportBody(page); }, {Lacks("mmpp://")}},
            {"welcome",
             [](auto& b, auto& page) { b.MakeWelcomeBody(page); },
             {Ends("</a></p><p align=center></p>")}},
            {"unknown label",
             [](auto& b, auto& page) { b.MakeLabel(QStringLiteral("NO_SUCH_LABEL"), page); },
             {Is("")}},
        });
}

// The radical page of the small data (forms, then groups, residual 0 first) and a Pinyin list.
TEST_F(PageBuilderTest, ListPagesOfTheSmallData) {
    QString error;
    const QString folder = testing::BuildSmallDataFolder(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    Dictionary dictionary(folder, reporter_);
    ASSERT_TRUE(dictionary.Open());
    const PageBuilder builder(language_, names_, dictionary.index());
    HtmlListPage page(builder);
    QString title;
    ASSERT_TRUE(dictionary.lists().ListByRadical(2, page, title));
    ExpectGolden(page.html(), "radical-page-2.html");

    page.clear();
    ASSERT_TRUE(dictionary.lists().ListByPinyin(Pinyin("zhong1"), page, title));
    const QString html = page.html();
    EXPECT_TRUE(html.startsWith("<span class=py_green_large>" + MarkPinyinFont("zhong5") + "</span><br><br>" +
                                Marked("zhong1")));
    EXPECT_GT(html.indexOf(Marked("zhong4")), html.indexOf(Link(0x4E2D)));
    EXPECT_EQ(html.indexOf(Marked("zhong2")), -1);
}

TEST(StandalonePageTest, PagesCarryEverythingTheyNeedAndRefuseHostileNames) {
    const QString body =
        "<table><tr><td><img src=speaker.gif>&nbsp;<img src='speaker2.gif'><a href=mmpp://5=4E2D>"
        "<img style=\"vertical-align:top\" src=write3_2.gif></a></td></tr></table>";
    const QString page = MakeStandalonePage("index.html", body, "OXA.LOCAL.INDEX.HTML");
    ASSERT_FALSE(page.isEmpty());
    EXPECT_EQ(PageResourceUrl("index.html"), "qrc:/pages/index.html");
    // No reference to another file: images are data: addresses, style sheet and scripts inline.
    QString markup = page;
    markup.remove(
        QRegularExpression(R"(<(script|style)>.*?</\1>)", QRegularExpression::DotMatchesEverythingOption));
    const QRegularExpression fileSource(R"(\b(src|href)\s*=\s*(?!["']?(data:|mmpp:|https:)))",
                                        QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(fileSource.match(markup).hasMatch()) << markup.toStdString();
    EXPECT_FALSE(page.contains(".gif\"") || page.contains("<link"));
    for (const char* present : {"<style>", ".py_green_large", "function SetWhoAmI", "function fly()",
                                "<img src=\"data:image/gif;base64,R0lGOD"})
        EXPECT_TRUE(page.contains(present)) << present;
    // The body follows the shell's own body script, then the page is named.
    const qsizetype onerror = page.indexOf("window.onerror = blockError;");
    const qsizetype table = page.indexOf("<table><tr><td>");
    const qsizetype name = page.indexOf("<script>SetWhoAmI(\"OXA.LOCAL.INDEX.HTML\");</script>");
    EXPECT_LT(onerror, table);
    EXPECT_LT(table, name);
    EXPECT_LT(name, page.indexOf("</body>"));

    const QString tech = MakeStandalonePage("tech.html", QString(), "</script>\"x");
    EXPECT_TRUE(tech.contains("layout(6, \"data:image/gif;base64,"));
    EXPECT_FALSE(tech.contains("face2.gif"));
    EXPECT_TRUE(tech.contains("SetWhoAmI(\"\\u003c/script\\u003e\\\"x\")"));
    const QString about = MakeStandalonePage("about.html", QString(), "A");
    EXPECT_FALSE(about.contains("logo.gif") || about.contains("tessaravin.gif"));
    EXPECT_TRUE(MakeStandalonePage("../secret.html", QString(), QString()).isEmpty());
    EXPECT_TRUE(MakeStandalonePage("oxa.css", QString(), QString()).isEmpty());
}

} // namespace
} // namespace quillory
