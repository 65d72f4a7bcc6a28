// The HTML of the result pages, list pages, fixed bodies and stand-alone
// pages, built with the real interface texts and an index whose sound
// sections are known.
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PageResources.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/Dictionary.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/builders/StandalonePage.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/SmallData.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <memory>

void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

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
// A Pinyin syllable as the Pinyin display font shows it.
QString Marked(const char* syllable) {
    return MarkPinyinFont(QString::fromLatin1(syllable));
}
QString Link(std::uint32_t code) {
    return QStringLiteral("<a href=mmpp://0=%1><span class=gb>&#x%1;</span></a>").arg(Hex(code));
}
QString StrokeIcon(std::uint32_t code) {
    return QStringLiteral("&nbsp;<a href=mmpp://5=%1><img style=\"vertical-align:top\" src=write3_2.gif></a>")
        .arg(Hex(code));
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
    c.radicalTable = "1.0\t4E00 2F00 0 1 2\n"
                     "2.0\t4E28 2F01 0 1 2 3\n"
                     "9.0\t4EBA 4EBB 0 1 2\n"
                     "9'.0\t4EBB 1\n"
                     "12.0\t516B 0\n";
    return c;
}

std::unique_ptr<DataIndex> LoadIndex(const IndexContent& content, MessageReporter& reporter) {
    QString error;
    QByteArray file = datagen::BuildIndexFile(content, &error);
    EXPECT_FALSE(file.isEmpty()) << error.toStdString();
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    auto index = std::make_unique<DataIndex>(reporter);
    EXPECT_TRUE(index->LoadDataIndex(buffer));
    return index;
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
        index_ = LoadIndex(SoundContent(), reporter_);
        builder_ = std::make_unique<PageBuilder>(language_, names_, *index_);
    }

    CharacterRecord Zhong() const {
        CharacterRecord r;
        r.code = 0x4E2D;
        r.pinyin = QStringLiteral("Zhong1 zhong4");
        r.jyutping = QStringLiteral("zung1 zung3");
        r.strokes = QStringLiteral("4");
        r.radical = QStringLiteral("2.3");
        r.english2 = QStringLiteral("unused");
        r.fanti = QStringLiteral("4E2D");
        r.jianti = QStringLiteral("4E2D");
        r.english = QStringLiteral("central / center");
        return r;
    }

    RecordingReporter reporter_;
    NameRegistry names_;
    LanguageData language_{reporter_};
    std::unique_ptr<DataIndex> index_;
    std::unique_ptr<PageBuilder> builder_;
};

TEST_F(PageBuilderTest, CharacterTableOfZhongWithSounds) {
    QString out = QStringLiteral("<p>kept</p>");
    builder_->MakeCharacterTable(Zhong(), out, true);

    const QString pinyinSpeaker = QStringLiteral(
        "&nbsp;<a href=mmpp://2=%1><img style=\"vertical-align:middle\" src=speaker.gif></a>&nbsp;");
    const QString expected =
        QStringLiteral("<p>kept</p><table width=100%>") +
        QStringLiteral("<tr><td><span class=en>Character</span></td><td><span class=gb>&#x4E2D;</span>") +
        StrokeIcon(0x4E2D) + QStringLiteral("</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Pinyin</span></td><td>") +
        QStringLiteral("<span class=py_green>") + Marked("zhong1") + QStringLiteral("</span>") +
        pinyinSpeaker.arg(Hex(Pinyin("zhong1"))) + QStringLiteral("<span class=py_green>") +
        Marked("zhong4") + QStringLiteral("</span>") + pinyinSpeaker.arg(Hex(Pinyin("zhong4"))) +
        QStringLiteral("</td></tr>") + QStringLiteral("<tr><td><span class=en>Jyutping</span></td><td>") +
        QStringLiteral(
            "<span class=jp_green>zung1</span>&nbsp;<a href=mmpp://4=%1><img src=speaker.gif></a>&nbsp;")
            .arg(Hex(Jyutping("zung1"))) +
        QStringLiteral("<span class=jp_green>zung3</span>&nbsp;<img src=speaker2.gif>&nbsp;</td></tr>") +
        QStringLiteral("<tr><td><span class=en>English</span></td><td>central / center</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Radical</span></td><td>2.3&nbsp;[&nbsp;") + Link(0x4E28) +
        StrokeIcon(0x4E28) + QStringLiteral("&nbsp;<span class=en>*</span>&nbsp;]</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Strokes</span></td><td>4</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Simplified</span></td><td>&nbsp;</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Traditional</span></td><td>&nbsp;</td></tr>") +
        QStringLiteral("<tr><td><span class=en>Unicode</span></td><td>4E2D</td></tr></table>");
    EXPECT_EQ(out, expected);
}

TEST_F(PageBuilderTest, CharacterTableCellsForVariantsReadingsAndFallbacks) {
    CharacterRecord r;
    r.code = 0x8FD9;                              // 这
    r.pinyin = QStringLiteral("zhe4 xx9  zhei4"); // a token that is no syllable and a double blank
    r.jyutping = QString();
    r.radical = QStringLiteral("162'.4"); // no line in the radical table
    r.english2 = QStringLiteral("this");
    r.jianti = QStringLiteral(" 8FD9 ");
    r.fanti = QStringLiteral("9019 2B5E7 8fd9");
    QString out;
    builder_->MakeCharacterTable(r, out, false);

    EXPECT_EQ(Cell(out, QStringLiteral("Pinyin")), QStringLiteral("<span class=py_green>") + Marked("zhe4") +
                                                       QStringLiteral("</span>&nbsp;<span class=py_green>") +
                                                       Marked("zhei4") + QStringLiteral("</span>&nbsp;"));
    EXPECT_EQ(Cell(out, QStringLiteral("Jyutping")), QStringLiteral("&nbsp;"));
    EXPECT_EQ(Cell(out, QStringLiteral("English")), QStringLiteral("this"));
    EXPECT_EQ(Cell(out, QStringLiteral("Radical")), QStringLiteral("162&#39;.4"));
    EXPECT_EQ(Cell(out, QStringLiteral("Simplified")), QStringLiteral("&nbsp;"));
    // The supplementary-plane form is not cut to 16 bits; the own code is left out.
    EXPECT_EQ(Cell(out, QStringLiteral("Traditional")), Link(0x9019) + QStringLiteral("&nbsp;&nbsp;&nbsp;"));
    EXPECT_FALSE(out.contains(QStringLiteral("B5E7")));
    EXPECT_FALSE(out.contains(QStringLiteral("speaker")));
    EXPECT_EQ(Cell(out, QStringLiteral("Strokes")), QString());
}

TEST_F(PageBuilderTest, RadicalFormsComeFromTheRadicalsOwnLine) {
    CharacterList forms;
    bool outOfRange = true;
    ASSERT_TRUE(builder_->RadicalForms(QStringLiteral("2.3"), forms, outOfRange));
    EXPECT_EQ(forms, CharacterList({0x4E28}));
    EXPECT_TRUE(outOfRange);

    ASSERT_TRUE(builder_->RadicalForms(QStringLiteral("9'.5"), forms, outOfRange));
    EXPECT_EQ(forms, CharacterList({0x4EBB}));
    EXPECT_FALSE(outOfRange);
    ASSERT_TRUE(builder_->RadicalForms(QStringLiteral("9.5"), forms, outOfRange));
    EXPECT_EQ(forms, CharacterList({0x4EBA, 0x4EBB}));

    // "2." must not be found inside "12.0", nor anything without a ".".
    RecordingReporter reporter;
    IndexContent content = SoundContent();
    content.radicalTable = "1.0\t4E00 0\n12.0\t516B 0\n";
    const std::unique_ptr<DataIndex> index = LoadIndex(content, reporter);
    const PageBuilder builder(language_, names_, *index);
    EXPECT_FALSE(builder.RadicalForms(QStringLiteral("2.3"), forms, outOfRange));
    EXPECT_TRUE(forms.empty());
    EXPECT_FALSE(builder.RadicalForms(QStringLiteral("12"), forms, outOfRange));
    EXPECT_FALSE(builder.RadicalForms(QString(), forms, outOfRange));
    ASSERT_TRUE(builder.RadicalForms(QStringLiteral("12.5"), forms, outOfRange));
    EXPECT_EQ(forms, CharacterList({0x516B}));
}

TEST_F(PageBuilderTest, ReadingElementsWithAndWithoutSound) {
    QString out = QStringLiteral("unchanged");
    builder_->MakePinyinReading(0xFFFF, out, true);
    EXPECT_EQ(out, QStringLiteral("unchanged"));

    builder_->MakePinyinReading(Pinyin("ma3"), out, true);
    EXPECT_EQ(out, QStringLiteral("<span class=py_green>") + Marked("ma3") +
                       QStringLiteral("</span>&nbsp;<img src=speaker2.gif>"));
    builder_->MakePinyinReading(Pinyin("ma3"), out, false);
    EXPECT_EQ(out, QStringLiteral("<span class=py_green>") + Marked("ma3") + QStringLiteral("</span>"));
    builder_->MakeJyutpingReading(Jyutping("m4"), out, true);
    EXPECT_EQ(out, QStringLiteral("<span class=jp_green>m4</span>&nbsp;<img src=speaker2.gif>"));
}

TEST_F(PageBuilderTest, WordTableShowsEveryReadingSeparated) {
    QString out;
    builder_->MakeWordTable(QStringLiteral("中国"), QStringLiteral("zhong1 guo2 / zhong4 guo2"),
                            QStringLiteral("zung1 gwok3"), QStringLiteral("China"), out);

    EXPECT_TRUE(out.startsWith(QStringLiteral("<table width=100%><tr><td><span class=en>Chinese</span>")));
    EXPECT_EQ(Cell(out, QStringLiteral("Chinese")), Link(0x4E2D) + Link(0x56FD));
    const QString pinyin = Cell(out, QStringLiteral("Pinyin"));
    EXPECT_EQ(pinyin.count(QStringLiteral("/&nbsp;")), 1);
    EXPECT_EQ(pinyin.count(QStringLiteral("src=speaker2.gif")), 2); // guo2 twice: no sound
    EXPECT_LT(pinyin.indexOf(QStringLiteral("mmpp://2=") + Hex(Pinyin("zhong1"))),
              pinyin.indexOf(QStringLiteral("/&nbsp;")));
    EXPECT_GT(pinyin.indexOf(QStringLiteral("mmpp://2=") + Hex(Pinyin("zhong4"))),
              pinyin.indexOf(QStringLiteral("/&nbsp;")));
    EXPECT_EQ(
        Cell(out, QStringLiteral("Jyutping")),
        QStringLiteral("<span class=jp_green>zung1</span>&nbsp;<a href=mmpp://4=%1><img src=speaker.gif></a>"
                       "&nbsp;<span class=jp_green>gwok3</span>&nbsp;<img src=speaker2.gif>&nbsp;")
            .arg(Hex(Jyutping("zung1"))));
    EXPECT_EQ(Cell(out, QStringLiteral("English")), QStringLiteral("China"));
    EXPECT_EQ(Cell(out, QStringLiteral("Unicode")), QStringLiteral("4E2D&nbsp;56FD&nbsp;"));
    EXPECT_TRUE(out.endsWith(QStringLiteral("</table>")));

    out.clear();
    builder_->MakeWordTable(QStringLiteral("中"), QString(), QStringLiteral(" "), QString(), out);
    EXPECT_EQ(Cell(out, QStringLiteral("Pinyin")), QStringLiteral("&nbsp;"));
    EXPECT_EQ(Cell(out, QStringLiteral("Jyutping")), QStringLiteral("&nbsp;"));
}

TEST_F(PageBuilderTest, EnglishTableLinksOnlyIdeographs) {
    QString out;
    builder_->MakeEnglishTable(
        QStringLiteral("T-shirt"),
        {{QStringLiteral("T恤"), QStringLiteral("T xu4")}, {QStringLiteral("汗衫"), QString()}}, out);
    EXPECT_EQ(Cell(out, QStringLiteral("English")), QStringLiteral("T-shirt"));
    EXPECT_EQ(Cell(out, QStringLiteral("Chinese")),
              QStringLiteral("T") + Link(0x6064) + QStringLiteral("&nbsp;<span class=py_green>T ") +
                  Marked("xu4") + QStringLiteral("</span><br>") + Link(0x6C57) + Link(0x886B));
    EXPECT_EQ(out.indexOf(QStringLiteral("English")) < out.indexOf(QStringLiteral("Chinese")), true);

    out.clear();
    builder_->MakeEnglishTable(QStringLiteral("nothing"), {}, out);
    EXPECT_EQ(Cell(out, QStringLiteral("Chinese")), QStringLiteral("&nbsp;"));
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
    QString out;
    builder_->MakeCharacterTable(r, out, true);
    EXPECT_EQ(Cell(out, QStringLiteral("English")), escaped);
    EXPECT_EQ(Cell(out, QStringLiteral("Strokes")), QStringLiteral("4&lt;b&gt;"));
    EXPECT_TRUE(Cell(out, QStringLiteral("Radical")).startsWith(QStringLiteral("&lt;i&gt;2.3")));

    out.clear();
    builder_->MakeWordTable(QStringLiteral("<a>"), hostile, hostile, hostile, out);
    EXPECT_EQ(Cell(out, QStringLiteral("English")), escaped);
    EXPECT_EQ(Cell(out, QStringLiteral("Chinese")), Link(0x3C) + Link(0x61) + Link(0x3E));

    out.clear();
    builder_->MakeEnglishTable(hostile, {{QStringLiteral("A<b>&"), QStringLiteral("<x>")}}, out);
    EXPECT_EQ(Cell(out, QStringLiteral("English")), escaped);
    EXPECT_TRUE(Cell(out, QStringLiteral("Chinese")).startsWith(QStringLiteral("A&lt;b&gt;&amp;&nbsp;")));
    EXPECT_FALSE(out.contains(QStringLiteral("<script")));
    EXPECT_FALSE(out.contains(QStringLiteral("<x>")));
}

TEST_F(PageBuilderTest, SyllableSectionsBreakAfterEighteenIdeographs) {
    QString out;
    builder_->MakePinyinHeading("lv4", out);
    EXPECT_EQ(out,
              QStringLiteral("<span class=py_green_large>") + Marked("lv5") + QStringLiteral("</span><br>"));
    builder_->MakeJyutpingHeading("zung1", out);
    EXPECT_EQ(out, QStringLiteral("<span class=jp_green_large>zung</span><br>"));

    // Out-of-range code points are neither shown nor counted.
    CharacterList chars = {0x41, 0x20000};
    QString lines;
    for (std::uint32_t code = 0x4E00; code < 0x4E00 + 19; ++code) {
        chars.push_back(code);
        lines += Link(code) + QStringLiteral("&nbsp;");
        if (code == 0x4E00 + 17) {
            lines += QStringLiteral("<br>");
        }
    }
    out = QStringLiteral("<x>");
    builder_->MakePinyinSection("zhong1", chars, out);
    const QString reading =
        QStringLiteral("<span class=py_green>") + Marked("zhong1") +
        QStringLiteral(
            "</span>&nbsp;<a href=mmpp://2=%1><img style=\"vertical-align:middle\" src=speaker.gif></a>")
            .arg(Hex(Pinyin("zhong1")));
    EXPECT_EQ(out,
              QStringLiteral("<x><br>") + reading + QStringLiteral("<br>") + lines + QStringLiteral("<br>"));

    out.clear();
    builder_->MakeJyutpingSection("zung3", {0x4E2D}, out);
    EXPECT_EQ(out, QStringLiteral("<br><span class=jp_green>zung3</span>&nbsp;<img src=speaker2.gif><br>") +
                       Link(0x4E2D) + QStringLiteral("&nbsp;<br>"));
}

TEST_F(PageBuilderTest, StrokeAndRadicalSectionsBreakAfterSixteen) {
    CharacterList chars;
    QString lines;
    for (std::uint32_t code = 0x4E00; code < 0x4E00 + 17; ++code) {
        chars.push_back(code);
        lines += Link(code) + QStringLiteral("&nbsp;");
        if (code == 0x4E00 + 15) {
            lines += QStringLiteral("<br>");
        }
    }
    QString out = QStringLiteral("<x>");
    builder_->MakeStrokeSection(4, chars, out);
    EXPECT_EQ(out,
              QStringLiteral("<x><br><span class=en>4</span>&nbsp;<span class=en>stroke(s)</span><br><br>") +
                  lines + QStringLiteral("<br>"));

    out.clear();
    builder_->MakeRadicalGroup(3, chars, out);
    EXPECT_EQ(out, QStringLiteral("<br><span class=en>3</span>&nbsp;<span class=en>stroke(s)</span><br>") +
                       lines + QStringLiteral("<br>"));

    out = QStringLiteral("replaced");
    builder_->MakeRadicalForms({0x4E28, 0x2F01}, out);
    EXPECT_EQ(out, Link(0x4E28) + QStringLiteral("&nbsp;<span class=en>*</span><br>"));
    builder_->MakeRadicalForms({0x4EBA}, out);
    EXPECT_EQ(out, Link(0x4EBA) + QStringLiteral("&nbsp;<br>"));
}

TEST_F(PageBuilderTest, JiantiLabelsWhileWelcomeShowsAllGreetings) {
    language_.SetLanguage(kJianti);
    QString out;
    builder_->MakeCharacterTable(Zhong(), out, true);
    EXPECT_TRUE(out.contains(QStringLiteral("<tr><td><span class=gb>汉字</span></td>")));
    EXPECT_TRUE(out.contains(QStringLiteral("<tr><td><span class=gb>部首</span></td>")));
    builder_->MakeStrokeSection(2, {}, out);
    EXPECT_TRUE(out.endsWith(QStringLiteral("<span class=gb>划</span><br><br><br>")));

    builder_->MakeWelcomeBody(out);
    const QString greetings =
        QStringLiteral("<p align=center><span class=en>Welcome to Quillory!</span><br><br>"
                       "<span class=gb>欢迎使用 Quillory！</span><br><br>"
                       "<span class=b5>歡迎使用 Quillory！</span><br><br>"
                       "<span class=py>") +
        MarkPinyinFont(QStringLiteral("huan1 ying2 shi3 yong4 Quillory!")) +
        QStringLiteral("</span><br><br>"
                       "<span class=jp>fun1 jing4 si2 jung6 Quillory!</span></p>");
    EXPECT_TRUE(
        out.startsWith(QStringLiteral("<br><p align=center><font size=6 color=blue><b>Tessaravin</b>"
                                      "</font><br><a href=https://www.tessaravin.example/ target=_blank>"
                                      "<img src=logo.gif></a></p>")));
    EXPECT_TRUE(out.endsWith(greetings)) << out.toStdString();
}

TEST_F(PageBuilderTest, SupportAndVersionBodies) {
    QString out;
    builder_->MakeSupportBody(out);
    const QRegularExpression links(
        QStringLiteral("<a href=mmpp://D=(\\d)><span class=en>([^<]*)</span></a><br><br>"));
    QStringList order;
    for (auto it = links.globalMatch(out); it.hasNext();) {
        const auto match = it.next();
        order << match.captured(1) + u' ' + match.captured(2);
    }
    EXPECT_EQ(order, QStringList({"1 FAQ", "3 Technical Support Request", "2 Bug Report", "4 Useful Links",
                                  "5 Give us some suggestions"}));
    EXPECT_TRUE(out.startsWith(QStringLiteral("<p align=center><a href=mmpp://D=1>")));
    EXPECT_TRUE(out.endsWith(QStringLiteral("</p><p align=center><a href=https://www.tessaravin.example/ "
                                            "target=_blank><img src=logo.gif></a></p>")));

    builder_->MakeVersionBlock(out);
    EXPECT_TRUE(out.startsWith(QStringLiteral("<p align=center><font size=3><b>Version 1.0</b></font></p>")));
    EXPECT_TRUE(out.contains(QString::fromLatin1(kVersionYears)));
    EXPECT_TRUE(out.endsWith(QStringLiteral("<p align=center><img src=circle.gif></p>")));
}

TEST_F(PageBuilderTest, MissingLabelsLeaveEmptyCellsAndDropElements) {
    RecordingReporter reporter;
    LanguageData empty(reporter);
    const PageBuilder builder(empty, names_, *index_);

    QString out;
    builder.MakeCharacterTable(Zhong(), out, false);
    EXPECT_TRUE(out.startsWith(QStringLiteral("<table width=100%><tr><td></td><td><span class=gb>")));
    EXPECT_EQ(out.count(QStringLiteral("<tr><td></td>")), 9);

    builder.MakeSupportBody(out);
    EXPECT_FALSE(out.contains(QStringLiteral("mmpp://")));
    builder.MakeWelcomeBody(out);
    EXPECT_TRUE(out.endsWith(QStringLiteral("</a></p><p align=center></p>")));
    builder.MakeLabel(QStringLiteral("NO_SUCH_LABEL"), out);
    EXPECT_TRUE(out.isEmpty());
}

TEST(HtmlListPageTest, ListPagesOfTheSmallData) {
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
    ASSERT_TRUE(dictionary.lists().ListByPinyin(Pinyin("zhong1"), page, title));
    const QString html = page.html();
    EXPECT_TRUE(html.startsWith(QStringLiteral("<span class=py_green_large>") + Marked("zhong5") +
                                QStringLiteral("</span><br><br><span class=py_green>") + Marked("zhong1")));
    const qsizetype tone1 = html.indexOf(QStringLiteral("<span class=py_green>") + Marked("zhong1"));
    const qsizetype tone4 = html.indexOf(QStringLiteral("<span class=py_green>") + Marked("zhong4"));
    ASSERT_GE(tone1, 0);
    EXPECT_GT(tone4, tone1);
    EXPECT_GT(html.indexOf(Link(0x4E2D)), tone1);
    EXPECT_GT(html.indexOf(Link(0x4E2D), tone4), tone4);
    EXPECT_EQ(html.indexOf(Marked("zhong2")), -1);
    EXPECT_TRUE(html.endsWith(QStringLiteral("&nbsp;<br>")));

    page.clear();
    ASSERT_TRUE(dictionary.lists().ListByStrokeCount(4, page, title));
    EXPECT_TRUE(
        page.html().startsWith(QStringLiteral("<br><span class=en>4</span>&nbsp;<span class=en>stroke(s)")));
    EXPECT_TRUE(page.html().contains(Link(0x4E2D)));

    page.clear();
    ASSERT_TRUE(dictionary.lists().ListByRadical(2, page, title));
    EXPECT_TRUE(page.html().startsWith(Link(0x4E28))) << page.html().toStdString();
    EXPECT_TRUE(
        page.html().contains(QStringLiteral("<br><span class=en>3</span>&nbsp;<span class=en>stroke(s)"
                                            "</span><br>")));
}

TEST(PageResourcesTest, EmbeddedPagesArePresent) {
    for (const char* name :
         {"index.html", "tech.html", "about.html", "oxa.css", "oxa.js", "fly.js", "logo.gif", "circle.gif",
          "speaker.gif", "speaker2.gif", "write3_2.gif", "face2.gif"}) {
        QFile file(QStringLiteral(":/pages/") + QString::fromLatin1(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_GT(file.size(), 0) << name;
    }
    EXPECT_EQ(PageResourceUrl(QStringLiteral("index.html")),
              QStringLiteral("qrc:/pages/index.html"));
}

TEST(StandalonePageTest, PageCarriesEverythingItNeeds) {
    const QString body =
        QStringLiteral("<table><tr><td><img src=speaker.gif>&nbsp;<img src='speaker2.gif'>"
                       "<a href=mmpp://5=4E2D><img style=\"vertical-align:top\" src=write3_2.gif>"
                       "</a></td></tr></table>");
    const QString page =
        MakeStandalonePage(QStringLiteral("index.html"), body, QStringLiteral("OXA.LOCAL.INDEX.HTML"));
    ASSERT_FALSE(page.isEmpty());

    // No reference to another file: every image is a data: address and the
    // style sheet and scripts are inline.
    QString markup = page;
    markup.remove(QRegularExpression(QStringLiteral(R"(<(script|style)>.*?</\1>)"),
                                     QRegularExpression::DotMatchesEverythingOption));
    const QRegularExpression fileSource(QStringLiteral(R"(\b(src|href)\s*=\s*(?!["']?(data:|mmpp:|https:)))"),
                                        QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(fileSource.match(markup).hasMatch()) << markup.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral(".gif\"")));
    EXPECT_FALSE(page.contains(QStringLiteral("<link")));
    EXPECT_TRUE(page.contains(QStringLiteral("<style>")));
    EXPECT_TRUE(page.contains(QStringLiteral(".py_green_large")));
    EXPECT_TRUE(page.contains(QStringLiteral("function SetWhoAmI")));
    EXPECT_TRUE(page.contains(QStringLiteral("function fly()")));
    EXPECT_TRUE(page.contains(QStringLiteral("<img src=\"data:image/gif;base64,R0lGOD")));

    // The body follows the shell's own body script, then the page is named.
    const qsizetype onerror = page.indexOf(QStringLiteral("window.onerror = blockError;"));
    const qsizetype table = page.indexOf(QStringLiteral("<table><tr><td>"));
    const qsizetype name =
        page.indexOf(QStringLiteral("<script>SetWhoAmI(\"OXA.LOCAL.INDEX.HTML\");</script>"));
    EXPECT_LT(onerror, table);
    EXPECT_LT(table, name);
    EXPECT_LT(name, page.indexOf(QStringLiteral("</body>")));
}

TEST(StandalonePageTest, ShellImagesAndHostileNames) {
    const QString page =
        MakeStandalonePage(QStringLiteral("tech.html"), QString(), QStringLiteral("</script>\"x"));
    EXPECT_TRUE(page.contains(QStringLiteral("layout(6, \"data:image/gif;base64,")));
    EXPECT_FALSE(page.contains(QStringLiteral("face2.gif")));
    EXPECT_TRUE(page.contains(QStringLiteral("SetWhoAmI(\"\\u003c/script\\u003e\\\"x\")")));

    const QString about = MakeStandalonePage(QStringLiteral("about.html"), QString(), QStringLiteral("A"));
    EXPECT_FALSE(about.contains(QStringLiteral("logo.gif")));
    EXPECT_FALSE(about.contains(QStringLiteral("tessaravin.gif")));

    EXPECT_TRUE(MakeStandalonePage(QStringLiteral("../secret.html"), QString(), QString()).isEmpty());
    EXPECT_TRUE(MakeStandalonePage(QStringLiteral("oxa.css"), QString(), QString()).isEmpty());
}

} // namespace
} // namespace quillory
