// The HTML of the result pages, list pages, fixed bodies and stand-alone
// pages, built with the real interface texts and an index whose sound
// sections are known. One golden page per builder (tests/data/golden; run
// with QUILLORY_UPDATE_GOLDEN=1 to rewrite them); the other tests check the
// fragments that matter.
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

#include <memory>

namespace quillory {
namespace {

using datagen::IndexContent;

SyllableId Pinyin(const char* text) {
    return EncodeSyllable(text, Scheme::Pinyin).value();
}
SyllableId Jyutping(const char* text) {
    return EncodeSyllable(text, Scheme::Jyutping).value();
}
QString Hex(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}
// A Pinyin reading as the Pinyin display font shows it.
QString Marked(const char* syllable) {
    return QStringLiteral("<span class=py_green>") + MarkPinyinFont(QString::fromLatin1(syllable)) +
           QStringLiteral("</span>");
}
QString Link(std::uint32_t code) {
    return QStringLiteral("<a href=mmpp://0=%1><span class=gb>&#x%1;</span></a>").arg(Hex(code));
}
// count ideographs from first, after the code points of before.
CharacterList Chars(std::uint32_t first, int count, CharacterList before = {}) {
    for (std::uint32_t code = first; code < first + std::uint32_t(count); ++code) {
        before.push_back(code);
    }
    return before;
}
QString Links(std::uint32_t first, int count) {
    QString links;
    for (std::uint32_t code : Chars(first, count))
        links += Link(code) + QStringLiteral("&nbsp;");
    return links;
}

// Compares a page with its golden file; QUILLORY_UPDATE_GOLDEN=1 rewrites it.
void ExpectGolden(const QString& page, const char* name) {
    QFile file(QStringLiteral(QUILLORY_TEST_DATA_DIR "/golden/") + QString::fromLatin1(name));
    if (qEnvironmentVariableIsSet("QUILLORY_UPDATE_GOLDEN")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(page.toUtf8() + '\n');
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    EXPECT_EQ(page, QString::fromUtf8(file.readAll()).chopped(1)) << name;
}

// zhong1, zhong4 and zung1 have recordings; nothing else has.
IndexContent SoundContent() {
    IndexContent c;
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
    c.radicalTable = "1.0\t4E00 0 1 2\n"
                     "2.0\t4E28 0 1 2 3\n"
                     "9.0\t4EBA 4EBB 3400 0 1 2\n"
                     "9'.0\t4EBB 1\n"
                     "12.0\t516B 0\n"
                     "12'.0\t4E37 1\n";
    return c;
}

// The value cell of the table row whose label cell holds labelText.
QString Cell(const QString& table, const QString& labelText) {
    const QString head = QStringLiteral(">") + labelText + QStringLiteral("</span></td><td>");
    const qsizetype start = table.indexOf(head);
    if (start < 0) {
        return QStringLiteral("<no row %1>").arg(labelText);
    }
    const qsizetype from = start + head.size();
    return table.mid(from, table.indexOf(QStringLiteral("</td></tr>"), from) - from);
}

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
    QString Table(const CharacterRecord& record, bool withSound = true) const {
        QString out;
        builder_->MakeCharacterTable(record, out, withSound);
        return out;
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

TEST_F(PageBuilderTest, ReadingCellsAndFallbacks) {
    // 这 with a token that is no syllable, a double blank, a radical without a line.
    const QString out =
        Table({.code = 0x8FD9, .pinyin = "zhe4 xx9  zhei4", .radical = "162'.4", .english2 = "this"}, false);
    EXPECT_EQ(Cell(out, "Pinyin"), Marked("zhe4") + "&nbsp;" + Marked("zhei4") + "&nbsp;");
    EXPECT_EQ(Cell(out, "Jyutping"), "&nbsp;");
    EXPECT_EQ(Cell(out, "English"), "this");
    EXPECT_EQ(Cell(out, "Radical"), "162&#39;.4");
    EXPECT_EQ(Cell(out, "Strokes"), "");
    EXPECT_FALSE(out.contains("speaker"));

    QString element = QStringLiteral("unchanged");
    builder_->MakePinyinReading(0xFFFF, element, true);
    EXPECT_EQ(element, "unchanged");
    builder_->MakePinyinReading(Pinyin("liu4"), element, false);
    EXPECT_EQ(element, Marked("liu4"));
    EXPECT_TRUE(element.contains(QStringLiteral("li") + QChar(0xD3))); // liù: the mark on the u
}

// The variants of the Jianti and Fanti rows: the character itself is left
// out, a variant in U+4E00..U+9FA5 is linked, any other is shown unlinked.
TEST_F(PageBuilderTest, VariantsOutsideThePagesRangeAreShownWithoutLink) {
    CharacterRecord r = Zhong();
    r.code = 0x508C;                                // 傌
    r.jianti = QStringLiteral(" 3437 508C ");       // 㐷, and the character itself
    r.fanti = QStringLiteral("9A82 2B5E7 8fd9 zz"); // 駡, a supplementary-plane form, a lower-case token
    const QString out = Table(r);
    EXPECT_EQ(Cell(out, "Simplified"), "<span class=gb>&#x3437;</span>&nbsp;&nbsp;");
    // The supplementary-plane form is not cut to 16 bits; a token that is no
    // character shows nothing.
    EXPECT_EQ(Cell(out, "Traditional"),
              Link(0x9A82) + "&nbsp;<span class=gb>&#x2B5E7;</span>&nbsp;" + Link(0x8FD9) + "&nbsp;&nbsp;");
    EXPECT_FALSE(out.contains("mmpp://0=3437"));
    EXPECT_EQ(Cell(Table(Zhong()), "Simplified"), "&nbsp;");
}

// Forms come from the radical's own line: "2'." is not found inside "12'.0";
// a form outside U+4E00..U+9FA5 is a "*".
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
        CharacterList forms = {1};
        bool outOfRange = !c.outOfRange;
        EXPECT_EQ(builder_->RadicalForms(QString::fromLatin1(c.radical), forms, outOfRange), c.found)
            << c.radical;
        EXPECT_EQ(forms, c.forms) << c.radical;
        if (c.found) {
            EXPECT_EQ(outOfRange, c.outOfRange) << c.radical;
        }
    }
    CharacterRecord ren = Zhong();
    ren.radical = QStringLiteral("9.5");
    EXPECT_TRUE(Cell(Table(ren), "Radical").endsWith("&nbsp;<span class=en>*</span>&nbsp;]"));
}

TEST_F(PageBuilderTest, WordTableShowsEveryReadingSeparated) {
    QString out;
    builder_->MakeWordTable("中国", "zhong1 guo2 / zhong4 guo2", "zung1 gwok3", "China", out);
    EXPECT_TRUE(out.startsWith("<table width=100%><tr><td><span class=en>Chinese</span>"));
    EXPECT_TRUE(out.endsWith("</table>"));
    EXPECT_EQ(Cell(out, "Chinese"), Link(0x4E2D) + Link(0x56FD));
    const QString pinyin = Cell(out, "Pinyin");
    const qsizetype slash = pinyin.indexOf("/&nbsp;");
    EXPECT_EQ(pinyin.count("/&nbsp;"), 1);
    EXPECT_EQ(pinyin.count("src=speaker2.gif"), 2); // guo2 twice: no sound
    EXPECT_LT(pinyin.indexOf("mmpp://2=" + Hex(Pinyin("zhong1"))), slash);
    EXPECT_GT(pinyin.indexOf("mmpp://2=" + Hex(Pinyin("zhong4"))), slash);
    EXPECT_TRUE(Cell(out, "Jyutping")
                    .endsWith("<span class=jp_green>gwok3</span>&nbsp;<img src=speaker2.gif>&nbsp;"));
    EXPECT_EQ(Cell(out, "English"), "China");
    EXPECT_EQ(Cell(out, "Unicode"), "4E2D&nbsp;56FD&nbsp;");

    out.clear();
    builder_->MakeWordTable("中", QString(), " ", QString(), out);
    EXPECT_EQ(Cell(out, "Pinyin"), "&nbsp;");
    EXPECT_EQ(Cell(out, "Jyutping"), "&nbsp;");
}

TEST_F(PageBuilderTest, EnglishTableLinksOnlyIdeographs) {
    QString out;
    builder_->MakeEnglishTable("T-shirt", {{"T恤", "T xu4"}, {"汗衫", QString()}}, out);
    EXPECT_LT(out.indexOf("English"), out.indexOf("Chinese"));
    EXPECT_EQ(Cell(out, "English"), "T-shirt");
    EXPECT_EQ(Cell(out, "Chinese"), "T" + Link(0x6064) + "&nbsp;<span class=py_green>T " +
                                        MarkPinyinFont(QStringLiteral("xu4")) + "</span><br>" + Link(0x6C57) +
                                        Link(0x886B));
    out.clear();
    builder_->MakeEnglishTable("nothing", {}, out);
    EXPECT_EQ(Cell(out, "Chinese"), "&nbsp;");
}

TEST_F(PageBuilderTest, TextFromRecordsAndQueriesIsEscaped) {
    const QString hostile = QStringLiteral("<script>alert('x')</script> & \"q\"");
    const QString escaped =
        QStringLiteral("&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;");
    EXPECT_EQ(EscapeHtml(hostile), escaped);

    CharacterRecord r = Zhong();
    r.english = hostile;
    r.strokes = QStringLiteral("4<b>");
    r.radical = QStringLiteral("<i>2.3");
    const QString table = Table(r);
    EXPECT_EQ(Cell(table, "English"), escaped);
    EXPECT_EQ(Cell(table, "Strokes"), "4&lt;b&gt;");
    EXPECT_TRUE(Cell(table, "Radical").startsWith("&lt;i&gt;2.3"));

    QString out;
    builder_->MakeWordTable("<a>", hostile, hostile, hostile, out);
    EXPECT_EQ(Cell(out, "English"), escaped);
    EXPECT_EQ(Cell(out, "Chinese"), Link(0x3C) + Link(0x61) + Link(0x3E));

    out.clear();
    builder_->MakeEnglishTable(hostile, {{"A<b>&", "<x>"}}, out);
    EXPECT_EQ(Cell(out, "English"), escaped);
    EXPECT_TRUE(Cell(out, "Chinese").startsWith("A&lt;b&gt;&amp;&nbsp;"));
    EXPECT_FALSE(out.contains("<script") || out.contains("<x>"));
}

// Headings; sections break after 18 ideographs, stroke sections and radical
// groups after 16; code points outside the range are neither shown nor counted.
TEST_F(PageBuilderTest, ListSectionsAndTheirLineBreaks) {
    QString out;
    builder_->MakePinyinHeading("lv4", out);
    EXPECT_EQ(out, "<span class=py_green_large>" + MarkPinyinFont(QStringLiteral("lv5")) + "</span><br>");
    builder_->MakeJyutpingHeading("zung1", out);
    EXPECT_EQ(out, "<span class=jp_green_large>zung</span><br>");

    out = QStringLiteral("<x>");
    builder_->MakePinyinSection("zhong1", Chars(0x4E00, 19, {0x41, 0x20000}), out);
    EXPECT_TRUE(out.startsWith("<x><br>" + Marked("zhong1") + "&nbsp;<a href=mmpp://2=1916>"));
    EXPECT_TRUE(out.endsWith("<br>" + Links(0x4E00, 18) + "<br>" + Links(0x4E12, 1) + "<br>"));
    out.clear();
    builder_->MakeJyutpingSection("zung3", {0x4E2D}, out);
    EXPECT_EQ(out, "<br><span class=jp_green>zung3</span>&nbsp;<img src=speaker2.gif><br>" +
                       Links(0x4E2D, 1) + "<br>");

    const CharacterList chars = Chars(0x4E00, 17, {0x41});
    const QString lines = Links(0x4E00, 16) + "<br>" + Links(0x4E10, 1) + "<br>";
    out = QStringLiteral("<x>");
    builder_->MakeStrokeSection(4, chars, out);
    EXPECT_EQ(out, "<x><br><span class=en>4</span>&nbsp;<span class=en>stroke(s)</span><br><br>" + lines);
    out.clear();
    builder_->MakeRadicalGroup(0, chars, out);
    EXPECT_EQ(out, "<br><span class=en>0</span>&nbsp;<span class=en>stroke(s)</span><br>" + lines);

    out = QStringLiteral("replaced");
    builder_->MakeRadicalForms({0x4E28, 0x3400}, out);
    EXPECT_EQ(out, Links(0x4E28, 1) + "<span class=en>*</span><br>");
    builder_->MakeRadicalForms({0x4EBA}, out);
    EXPECT_EQ(out, Links(0x4EBA, 1) + "<br>");
}

TEST_F(PageBuilderTest, JiantiLabelsWhileWelcomeShowsAllGreetings) {
    language_.SetLanguage(kJianti);
    const QString table = Table(Zhong());
    EXPECT_TRUE(table.contains("<tr><td><span class=gb>汉字</span></td>"));
    EXPECT_TRUE(table.contains("<tr><td><span class=gb>部首</span></td>"));
    QString out;
    builder_->MakeStrokeSection(2, {}, out);
    EXPECT_TRUE(out.endsWith("<span class=gb>划</span><br><br><br>"));

    builder_->MakeWelcomeBody(out);
    EXPECT_TRUE(
        out.startsWith("<br><p align=center><font size=6 color=blue><b>Tessaravin</b></font><br><a "
                       "href=https://www.tessaravin.example/ target=_blank><img src=logo.gif></a></p>"));
    EXPECT_TRUE(out.endsWith("<p align=center><span class=en>Welcome to Quillory!</span><br><br>"
                             "<span class=gb>欢迎使用 Quillory！</span><br><br>"
                             "<span class=b5>歡迎使用 Quillory！</span><br><br><span class=py>" +
                             MarkPinyinFont(QStringLiteral("huan1 ying2 shi3 yong4 Quillory!")) +
                             "</span><br><br><span class=jp>fun1 jing4 si2 jung6 Quillory!</span></p>"));
}

TEST_F(PageBuilderTest, SupportAndVersionBodies) {
    QString out;
    builder_->MakeSupportBody(out);
    QStringList order;
    const QRegularExpression links("<a href=mmpp://D=(\\d)><span class=en>([^<]*)</span></a><br><br>");
    for (auto it = links.globalMatch(out); it.hasNext();) {
        const auto match = it.next();
        order << match.captured(1) + u' ' + match.captured(2);
    }
    EXPECT_EQ(order, QStringList({"1 FAQ", "3 Technical Support Request", "2 Bug Report", "4 Useful Links",
                                  "5 Give us some suggestions"}));
    EXPECT_TRUE(out.startsWith("<p align=center><a href=mmpp://D=1>"));
    EXPECT_TRUE(out.endsWith("</p><p align=center><a href=https://www.tessaravin.example/ "
                             "target=_blank><img src=logo.gif></a></p>"));

    builder_->MakeVersionBlock(out);
    EXPECT_TRUE(out.startsWith("<p align=center><font size=3><b>Version 1.0</b></font></p>"));
    EXPECT_TRUE(out.contains(QString::fromLatin1(kVersionYears)));
    EXPECT_TRUE(out.endsWith("<p align=center><img src=circle.gif></p>"));
}

TEST_F(PageBuilderTest, MissingLabelsLeaveEmptyCellsAndDropElements) {
    RecordingReporter reporter;
    LanguageData empty(reporter);
    const PageBuilder builder(empty, names_, index_);
    QString out;
    builder.MakeCharacterTable(Zhong(), out, false);
    EXPECT_TRUE(out.startsWith("<table width=100%><tr><td></td><td><span class=gb>"));
    EXPECT_EQ(out.count("<tr><td></td>"), 9);
    builder.MakeSupportBody(out);
    EXPECT_FALSE(out.contains("mmpp://"));
    builder.MakeWelcomeBody(out);
    EXPECT_TRUE(out.endsWith("</a></p><p align=center></p>"));
    builder.MakeLabel(QStringLiteral("NO_SUCH_LABEL"), out);
    EXPECT_TRUE(out.isEmpty());
}

// The radical page of the small data: the radical's forms, then its groups,
// residual 0 first.
TEST(HtmlListPageTest, RadicalPageOfTheSmallDataIsTheGoldenPage) {
    QString error;
    const QString folder = testing::BuildSmallDataFolder(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    RecordingReporter reporter;
    Dictionary dictionary(folder, reporter);
    ASSERT_TRUE(dictionary.Open());
    LanguageData language(reporter);
    ASSERT_TRUE(language.Load(QString()));
    NameRegistry names;
    RegisterLabelKeys(language, names);
    const PageBuilder builder(language, names, dictionary.index());

    HtmlListPage page(builder);
    QString title;
    ASSERT_TRUE(dictionary.lists().ListByRadical(2, page, title));
    ExpectGolden(page.html(), "radical-page-2.html");

    page.clear();
    ASSERT_TRUE(dictionary.lists().ListByPinyin(Pinyin("zhong1"), page, title));
    const QString html = page.html();
    EXPECT_TRUE(html.startsWith("<span class=py_green_large>" + MarkPinyinFont(QStringLiteral("zhong5")) +
                                "</span><br><br>" + Marked("zhong1")));
    EXPECT_GT(html.indexOf(Marked("zhong4")), html.indexOf(Link(0x4E2D)));
    EXPECT_EQ(html.indexOf(Marked("zhong2")), -1);
}

TEST(StandalonePageTest, PageCarriesEverythingItNeeds) {
    const QString body =
        QStringLiteral("<table><tr><td><img src=speaker.gif>&nbsp;<img src='speaker2.gif'>"
                       "<a href=mmpp://5=4E2D><img style=\"vertical-align:top\" src=write3_2.gif>"
                       "</a></td></tr></table>");
    const QString page = MakeStandalonePage("index.html", body, "OXA.LOCAL.INDEX.HTML");
    ASSERT_FALSE(page.isEmpty());
    EXPECT_EQ(PageResourceUrl("index.html"), "qrc:/pages/index.html");

    // No reference to another file: every image is a data: address and the
    // style sheet and scripts are inline.
    QString markup = page;
    markup.remove(
        QRegularExpression(R"(<(script|style)>.*?</\1>)", QRegularExpression::DotMatchesEverythingOption));
    const QRegularExpression fileSource(R"(\b(src|href)\s*=\s*(?!["']?(data:|mmpp:|https:)))",
                                        QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(fileSource.match(markup).hasMatch()) << markup.toStdString();
    for (const char* absent : {".gif\"", "<link"}) {
        EXPECT_FALSE(page.contains(absent)) << absent;
    }
    for (const char* present : {"<style>", ".py_green_large", "function SetWhoAmI", "function fly()",
                                "<img src=\"data:image/gif;base64,R0lGOD"}) {
        EXPECT_TRUE(page.contains(present)) << present;
    }
    // The body follows the shell's own body script, then the page is named.
    const qsizetype onerror = page.indexOf("window.onerror = blockError;");
    const qsizetype table = page.indexOf("<table><tr><td>");
    const qsizetype name = page.indexOf("<script>SetWhoAmI(\"OXA.LOCAL.INDEX.HTML\");</script>");
    EXPECT_LT(onerror, table);
    EXPECT_LT(table, name);
    EXPECT_LT(name, page.indexOf("</body>"));
}

TEST(StandalonePageTest, ShellImagesAndHostileNames) {
    const QString page = MakeStandalonePage("tech.html", QString(), "</script>\"x");
    EXPECT_TRUE(page.contains("layout(6, \"data:image/gif;base64,"));
    EXPECT_FALSE(page.contains("face2.gif"));
    EXPECT_TRUE(page.contains("SetWhoAmI(\"\\u003c/script\\u003e\\\"x\")"));

    const QString about = MakeStandalonePage("about.html", QString(), "A");
    EXPECT_FALSE(about.contains("logo.gif") || about.contains("tessaravin.gif"));
    EXPECT_TRUE(MakeStandalonePage("../secret.html", QString(), QString()).isEmpty());
    EXPECT_TRUE(MakeStandalonePage("oxa.css", QString(), QString()).isEmpty());
}

} // namespace
} // namespace quillory
