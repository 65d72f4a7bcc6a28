// Result, list, fixed and stand-alone pages: one golden page per builder (tests/data/golden,
// QUILLORY_UPDATE_GOLDEN=1 rewrites them); elsewhere tables of requests and the fragments that matter.
#include "pages/builders/PageBuilder.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/Dictionary.h"
#include "dictionary/files/DataIndex.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/builders/PageHtml.h"
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

using PB = PageBuilder;
using Entries = std::vector<EnglishTableEntry>;

// A check of a page, or with Row of one row's value cell: equal, prefix, suffix, held (`times` times),
// absent, regex.
enum Kind { kIs, kStarts, kEnds, kHas, kLacks, kMatches };
struct Fragment {
    Kind kind;
    QString text;
    int times = -1;
    QString row{}; // the label of the checked row; empty: the whole page
};
// The fields of a character record that pages show; the others stay empty.
struct Record {
    std::uint32_t code = 0x4E2D;
    QString pinyin{}, jyutping{}, strokes{}, radical{}, english2{}, fanti{}, jianti{}, english{};
    operator CharacterRecord() const {
        return {code,     pinyin, jyutping, strokes, radical, {}, {},
                english2, fanti,  jianti,   {},      english, {}, {}};
    }
};
// A request's page and the fragments expected in it.
struct PageCase {
    QString page;
    std::vector<Fragment> fragments;
};

class PageBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Load(QString()));
        RegisterLabelKeys(language_, names_);
        // zhong1, zhong4 and zung1 have recordings; nothing else has.
        datagen::IndexContent c;
        c.pinyinSounds = {{Pinyin("zhong1"), 0}, {Pinyin("zhong4"), 5000}};
        c.jyutpingSounds = {{Jyutping("zung1"), 0}};
        c.radicalTable = "1.0\t4E00 0 1 2\n2.0\t4E28 0 1 2 3\n9.0\t4EBA 4EBB 3400 0 1 2\n9'.0\t4EBB 1\n"
                         "12.0\t516B 0\n12'.0\t4E37 1\n";
        QString error;
        QByteArray file = datagen::BuildIndexFile(c, &error);
        ASSERT_FALSE(file.isEmpty()) << error.toStdString();
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(index_.LoadDataIndex(buffer));
        builder_ = std::make_unique<PB>(language_, names_, index_);
    }
    static Fragment Is(const QString& text) { return {kIs, text}; }
    static Fragment Starts(const QString& text) { return {kStarts, text}; }
    static Fragment Ends(const QString& text) { return {kEnds, text}; }
    static Fragment Has(const QString& text, int times = -1) { return {kHas, text, times}; }
    static Fragment Lacks(const QString& text) { return {kLacks, text}; }
    static Fragment Matches(const QString& pattern) { return {kMatches, pattern}; }
    static Fragment Row(const QString& label, Fragment f) { return {f.kind, f.text, f.times, label}; }
    static PageCase Page(QString page, std::vector<Fragment> fragments) { return {page, fragments}; }
    static SyllableId Pinyin(const char* text) { return EncodeSyllable(text, Scheme::Pinyin).value(); }
    static SyllableId Jyutping(const char* text) { return EncodeSyllable(text, Scheme::Jyutping).value(); }
    static QString Hex(std::uint32_t value) { return QString::number(value, 16).toUpper(); }
    // Pinyin as the Pinyin display font shows it, and a reading element of it.
    static QString Font(const char* pinyin) { return MarkPinyinFont(QString::fromUtf8(pinyin)); }
    static QString Marked(const char* s) { return "<span class=py_green>" + Font(s) + "</span>"; }
    static QString Link(std::uint32_t code) {
        return QStringLiteral("<a href=mmpp://0=%1><span class=gb>&#x%1;</span></a>").arg(Hex(code));
    }
    // count ideographs from first, after the code points of before.
    static CharacterList Chars(std::uint32_t first, int count, CharacterList before = {}) {
        for (std::uint32_t code = first; code < first + std::uint32_t(count); ++code)
            before.push_back(code);
        return before;
    }
    // count characters of a list from first, as plain text, each with its blank.
    static QString Listed(std::uint32_t first, int count) {
        QString text;
        for (std::uint32_t code : Chars(first, count))
            text += QStringLiteral("&#x%1;&nbsp;").arg(Hex(code));
        return text;
    }
    // A list's lines in the one element whose characters open their pages.
    static QString List(const QString& lines) { return "<span class=\"gb chars\">" + lines + "</span>"; }
    static QString Support(int id, const char* label) {
        return QStringLiteral("<a href=mmpp://D=%1><span class=en>%2</span></a><br><br>").arg(id).arg(label);
    }
    static Record Zhong() {
        return {0x4E2D, "Zhong1 zhong4", "zung1 zung3",     "4", "2.3", "unused",
                "4E2D", "4E2D",          "central / center"};
    }
    // What a builder call (page last, after the builder for a lambda) writes into "<x>"; appending keeps it.
    QString Out(auto make, const auto&... args) const {
        QString page = QStringLiteral("<x>");
        std::invoke(make, *builder_, args..., page);
        return page;
    }
    QString Table(const Record& record, bool withSound = true) const {
        return Out([&](const PB& b, QString& page) { b.MakeCharacterTable(record, page, withSound); });
    }
    // The value cell of the table row whose label cell holds labelText.
    static QString CellOf(const QString& table, const QString& labelText) {
        const QString head = ">" + QRegularExpression::escape(labelText) + "</span></td><td>(.*?)</td></tr>";
        const QRegularExpressionMatch match = QRegularExpression(head).match(table);
        return match.hasMatch() ? match.captured(1) : "<no row " + labelText + ">";
    }
    static void ExpectPages(const std::vector<PageCase>& cases) {
        for (const PageCase& c : cases) {
            SCOPED_TRACE("page " + std::to_string(&c - cases.data())); // counted from 0
            for (const Fragment& f : c.fragments) {
                const QString part = f.row.isEmpty() ? c.page : CellOf(c.page, f.row);
                const QRegularExpression pattern(f.kind == kMatches ? f.text : QString(),
                                                 QRegularExpression::DotMatchesEverythingOption);
                const bool found[] = {part == f.text,
                                      part.startsWith(f.text),
                                      part.endsWith(f.text),
                                      f.times < 0 ? part.contains(f.text) : part.count(f.text) == f.times,
                                      !part.contains(f.text),
                                      pattern.match(part).hasMatch()};
                EXPECT_TRUE(found[f.kind]) << "check " << f.kind << " of " << f.text.toStdString() << " in "
                                           << f.row.toStdString() << ": " << part.toStdString();
            }
        }
    }
    // Compares a page with its golden file; QUILLORY_UPDATE_GOLDEN=1 rewrites it.
    static void ExpectGolden(const QString& page, const char* name) {
        QFile file(QStringLiteral(QUILLORY_TEST_DATA_DIR "/golden/") + QString::fromLatin1(name));
        const bool update = qEnvironmentVariableIsSet("QUILLORY_UPDATE_GOLDEN");
        ASSERT_TRUE(file.open(update ? QIODevice::WriteOnly : QIODevice::ReadOnly)) << name;
        if (update)
            file.write(page.toUtf8() + '\n');
        else
            EXPECT_EQ(page, QString::fromUtf8(file.readAll()).chopped(1)) << name;
    }
    RecordingReporter reporter_;
    NameRegistry names_;
    LanguageData language_{reporter_};
    LanguageData noLabels_{reporter_}; // never loaded: every label is missing
    DataIndex index_{reporter_};
    std::unique_ptr<PB> builder_;
};

TEST_F(PageBuilderTest, TablesShowReadingsVariantsRadicalFormsAndEscapedText) {
    QString zhong = QStringLiteral("<p>kept</p>");
    builder_->MakeCharacterTable(Zhong(), zhong, true);
    ExpectGolden(zhong, "character-table-zhong.html");
    const QString hostile = "<script>alert('x')</script> & \"q\"";
    const QString escaped = "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;";
    EXPECT_EQ(EscapeHtml(hostile), escaped);
    const QString head = "<x><table width=100%><tr><td><span class=en>";
    ExpectPages({
        // 这: a token that is no syllable, a double blank, a radical without a line.
        Page(Table({.code = 0x8FD9, .pinyin = "zhe4 xx9  zhei4", .radical = "162'.4", .english2 = "this"},
                   false),
             {Row("Pinyin", Is(Marked("zhe4") + "&nbsp;" + Marked("zhei4") + "&nbsp;")),
              Row("Jyutping", Is("&nbsp;")), Row("English", Is("this")), Row("Radical", Is("162&#39;.4")),
              Row("Strokes", Is("")), Lacks("speaker")}),
        Page(Out([](const PB& b, QString& p) { b.MakePinyinReading(0xFFFF, p, true); }), {Is("<x>")}),
        Page(Out([](const PB& b, QString& p) { b.MakePinyinReading(Pinyin("liu4"), p, false); }),
             {Is(Marked("liu4")), Has("li" + QString(QChar(0xD3)))}), // liù: the mark on the u
        // Variants: the character itself left out, U+4E00..U+9FA5 linked, any other shown unlinked, a
        // supplementary-plane form not cut to 16 bits, a token that is no character shown as nothing.
        Page(Table({.code = 0x508C, .fanti = "9A82 2B5E7 8fd9 zz", .jianti = " 3437 508C "}),
             {Row("Simplified", Is("<span class=gb>&#x3437;</span>&nbsp;&nbsp;")),
              Row("Traditional", Is(Link(0x9A82) + "&nbsp;<span class=gb>&#x2B5E7;</span>&nbsp;" +
                                    Link(0x8FD9) + "&nbsp;&nbsp;")),
              Lacks("mmpp://0=3437")}),
        Page(Table({.code = 0x4E2D, .radical = "9.5"}),
             {Row("Radical", Ends("&nbsp;<span class=en>*</span>&nbsp;]"))}),
        Page(Out(&PB::MakeWordTable, "中国", "zhong1 guo2 / zhong4 guo2", "zung1 gwok3", "China"),
             {Starts(head + "Chinese</span>"), Ends("</table>"),
              Row("Chinese", Is(Link(0x4E2D) + Link(0x56FD))), Row("Pinyin", Has("/&nbsp;", 1)),
              Row("Pinyin", Has("src=speaker2.gif", 2)), // guo2: no sound
              Row("Pinyin", Matches("mmpp://2=" + Hex(Pinyin("zhong1")) +
                                    ".*/&nbsp;.*mmpp://2=" + Hex(Pinyin("zhong4")))),
              Row("Jyutping", Ends("<span class=jp_green>gwok3</span>&nbsp;<img src=speaker2.gif width=16 "
                                   "height=16>&nbsp;")),
              Row("English", Is("China")), Row("Unicode", Is("4E2D&nbsp;56FD&nbsp;"))}),
        Page(Out(&PB::MakeWordTable, "中", "", " ", ""),
             {Row("Pinyin", Is("&nbsp;")), Row("Jyutping", Is("&nbsp;"))}),
        Page(Out(&PB::MakeEnglishTable, "T-shirt", Entries{{"T恤", "T xu4"}, {"汗衫", ""}}),
             {Starts(head + "English</span>"), Row("English", Is("T-shirt")),
              Row("Chinese", Is("T" + Link(0x6064) + "&nbsp;<span class=py_green>T " + Font("xu4") +
                                "</span><br>" + Link(0x6C57) + Link(0x886B)))}),
        Page(Out(&PB::MakeEnglishTable, "nothing", Entries{}), {Row("Chinese", Is("&nbsp;"))}),
        // Text from records and queries is escaped.
        Page(Table({.code = 0x4E2D, .strokes = "4<b>", .radical = "<i>2.3", .english = hostile}),
             {Row("English", Is(escaped)), Row("Strokes", Is("4&lt;b&gt;")),
              Row("Radical", Starts("&lt;i&gt;2.3"))}),
        Page(Out(&PB::MakeWordTable, "<a>", hostile, hostile, hostile),
             {Row("English", Is(escaped)), Row("Chinese", Is(Link(0x3C) + Link(0x61) + Link(0x3E)))}),
        Page(Out(&PB::MakeEnglishTable, hostile, Entries{{"A<b>&", "<q>"}}),
             {Row("English", Is(escaped)), Row("Chinese", Starts("A&lt;b&gt;&amp;&nbsp;")), Lacks("<script"),
              Lacks("<q>")}),
    });
}

// Forms from the radical's own line ("2'." is not inside "12'.0"); a form outside U+4E00..U+9FA5 is flagged.
TEST_F(PageBuilderTest, RadicalFormsOfTheRadicalsOwnLine) {
    const std::tuple<const char*, bool, CharacterList, bool> cases[] = {
        {"2.3", true, {0x4E28}, false},  {"9.5", true, {0x4EBA, 0x4EBB}, true},
        {"9'.5", true, {0x4EBB}, false}, {"12.5", true, {0x516B}, false},
        {"2'.1", false, {}, false},      {"12", false, {}, false},
        {"", false, {}, false}};
    for (const auto& [radical, found, expectedForms, expectedOutOfRange] : cases) {
        SCOPED_TRACE(radical);
        CharacterList forms = {1};
        bool outOfRange = !expectedOutOfRange;
        EXPECT_EQ(builder_->RadicalForms(QString::fromLatin1(radical), forms, outOfRange), found);
        EXPECT_EQ(forms, expectedForms);
        if (found) {
            EXPECT_EQ(outOfRange, expectedOutOfRange);
        }
    }
}

// Sections break after 18 ideographs, stroke sections and radical groups after 16; code points
// outside the range are neither shown nor counted.
TEST_F(PageBuilderTest, ListSectionsAndFixedBodies) {
    const CharacterList chars = Chars(0x4E00, 17, {0x41});
    const QString lines = List(Listed(0x4E00, 16) + "<br>" + Listed(0x4E10, 1));
    const QString logo = "<a href=https://www.tessaravin.example/ target=_blank><img src=logo.gif width=128 "
                         "height=60></a></p>";
    ExpectPages({
        Page(Out(&PB::MakePinyinHeading, "lv4"),
             {Is("<span class=py_green_large>" + Font("lv5") + "</span><br>")}),
        Page(Out(&PB::MakeJyutpingHeading, "zung1"), {Is("<span class=jp_green_large>zung</span><br>")}),
        Page(Out(&PB::MakePinyinSection, "zhong1", Chars(0x4E00, 19, {0x41, 0x20000})),
             {Starts("<x><br>" + Marked("zhong1") + "&nbsp;<a href=mmpp://2=1916>"),
              Ends("<br>" + List(Listed(0x4E00, 18) + "<br>" + Listed(0x4E12, 1)) + "<br>")}),
        Page(Out(&PB::MakeJyutpingSection, "zung3", CharacterList{0x4E2D}),
             {Is("<x><br><span class=jp_green>zung3</span>&nbsp;<img src=speaker2.gif width=16 "
                 "height=16><br>" +
                 List(Listed(0x4E2D, 1)) + "<br>")}),
        Page(Out(&PB::MakeStrokeSection, 4, chars),
             {Is("<x><br><span class=en>4</span>&nbsp;<span class=en>stroke(s)</span><br><br>" + lines +
                 "<br>")}),
        Page(
            Out(&PB::MakeRadicalGroup, 0, chars),
            {Is("<x><br><span class=en>0</span>&nbsp;<span class=en>stroke(s)</span><br>" + lines + "<br>")}),
        Page(Out(&PB::MakeRadicalForms, CharacterList{0x4E28, 0x3400}),
             {Is(List(Listed(0x4E28, 1)) + "<span class=en>*</span><br>")}),
        Page(Out(&PB::MakeRadicalForms, CharacterList{0x4EBA}), {Is(List(Listed(0x4EBA, 1)) + "<br>")}),
        Page(Out(&PB::MakeSupportBody),
             {Is("<p align=center>" + Support(1, "FAQ") + Support(3, "Technical Support Request") +
                 Support(2, "Bug Report") + Support(4, "Useful Links") +
                 Support(5, "Give us some suggestions") + "</p><p align=center>" + logo)}),
        Page(Out(&PB::MakeVersionBlock),
             {Starts("<p align=center><font size=3><b>Version 1.0</b></font></p>"), Has(kVersionYears),
              Ends("<p align=center><img src=circle.gif width=28 height=28></p>")}),
    });
    // Jianti labels, while the welcome body shows every greeting.
    language_.SetLanguage(kJianti);
    ExpectPages({
        Page(Table(Zhong()), {Has("<tr><td><span class=gb>汉字</span></td>"),
                              Has("<tr><td><span class=gb>部首</span></td>")}),
        Page(Out(&PB::MakeStrokeSection, 2, CharacterList{}), {Ends("<span class=gb>划</span><br><br><br>")}),
        Page(Out(&PB::MakeWelcomeBody),
             {Starts("<br><p align=center><font size=6 color=blue><b>Tessaravin</b></font><br>" + logo),
              Ends("<p align=center><span class=en>Welcome to Quillory!</span><br><br><span "
                   "class=gb>欢迎使用 Quillory！</span>"
                   "<br><br><span class=b5>歡迎使用 Quillory！</span><br><br><span class=py>" +
                   Font("huan1 ying2 shi3 yong4 Quillory!") +
                   "</span><br><br><span class=jp>fun1 jing4 si2 jung6 Quillory!</span></p>")}),
    });
    // Missing labels leave empty cells and drop elements.
    builder_ = std::make_unique<PB>(noLabels_, names_, index_);
    ExpectPages({
        Page(Table(Zhong(), false),
             {Starts("<x><table width=100%><tr><td></td><td><span class=gb>"), Has("<tr><td></td>", 9)}),
        Page(Out(&PB::MakeSupportBody), {Lacks("mmpp://")}),
        Page(Out(&PB::MakeWelcomeBody), {Ends("</a></p><p align=center></p>")}),
        Page(Out([](const PB& b, QString& p) { b.MakeLabel(QStringLiteral("NO_SUCH_LABEL"), p); }), {Is("")}),
    });
}

// The radical page of the small data (forms, then groups, residual 0 first) and a Pinyin list.
TEST_F(PageBuilderTest, ListPagesOfTheSmallData) {
    QString error;
    const QString folder = testing::BuildSmallDataFolder(&error);
    ASSERT_FALSE(folder.isEmpty()) << error.toStdString();
    Dictionary dictionary(folder, reporter_);
    ASSERT_TRUE(dictionary.Open());
    const PB builder(language_, names_, dictionary.index());
    HtmlListPage page(builder);
    QString title;
    ASSERT_TRUE(dictionary.lists().ListByRadical(2, page, title));
    ExpectGolden(page.html(), "radical-page-2.html");
    page.clear();
    ASSERT_TRUE(dictionary.lists().ListByPinyin(Pinyin("zhong1"), page, title));
    const QString html = page.html();
    EXPECT_TRUE(html.startsWith("<span class=py_green_large>" + Font("zhong5") + "</span><br><br>" +
                                Marked("zhong1")));
    EXPECT_GT(html.indexOf(Marked("zhong4")), html.indexOf(Listed(0x4E2D, 1)));
    EXPECT_EQ(html.indexOf(Marked("zhong2")), -1);
}

// A page names each picture's size; it must be the picture's own, read from
// the GIF's logical screen size.
TEST(PageImages, DeclareTheSizeOfTheirPicture) {
    for (const pagehtml::PageImage& image : pagehtml::kPageImages) {
        QFile file(QStringLiteral(":/pages/") + QLatin1String(image.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << image.name;
        const QByteArray header = file.read(10);
        ASSERT_TRUE(header.startsWith("GIF8")) << image.name;
        const auto word = [&](int at) { return quint8(header[at]) | quint8(header[at + 1]) << 8; };
        EXPECT_EQ(word(6), image.width) << image.name;
        EXPECT_EQ(word(8), image.height) << image.name;
    }
}

// Stand-alone pages name no other file; the body follows the shell's body script, then the page is named.
TEST_F(PageBuilderTest, StandalonePagesCarryEverythingTheyNeed) {
    const QString body =
        "<table><tr><td><img src=speaker.gif>&nbsp;<img src='speaker2.gif'><a href=mmpp://5=4E2D>"
        "<img style=\"vertical-align:top\" src=write3_2.gif></a></td></tr></table>";
    const QString index = MakeStandalonePage("index.html", body, "OXA.LOCAL.INDEX.HTML");
    EXPECT_EQ(PageResourceUrl("index.html"), "qrc:/pages/index.html");
    QString markup = index;
    markup.remove(
        QRegularExpression(R"(<(script|style)>.*?</\1>)", QRegularExpression::DotMatchesEverythingOption));
    const QRegularExpression fileSource(R"(\b(src|href)\s*=\s*(?!["']?(data:|mmpp:|https:)))",
                                        QRegularExpression::CaseInsensitiveOption);
    EXPECT_FALSE(fileSource.match(markup).hasMatch()) << markup.toStdString();
    ExpectPages({
        Page(index, {Has("<style>"), Has(".py_green_large"), Has("function SetWhoAmI"), Has("function fly()"),
                     Has("<img src=\"data:image/gif;base64,R0lGOD"), Lacks(".gif\""), Lacks("<link"),
                     Matches(R"(window\.onerror = blockError;.*<table><tr><td>.*)"
                             R"(<script>SetWhoAmI\("OXA\.LOCAL\.INDEX\.HTML"\);</script>.*</body>)")}),
        Page(MakeStandalonePage("tech.html", QString(), "</script>\"x"),
             {Has("layout(6, \"data:image/gif;base64,"), Lacks("face2.gif"),
              Has("SetWhoAmI(\"\\u003c/script\\u003e\\\"x\")")}),
        Page(MakeStandalonePage("about.html", QString(), "A"), {Lacks("logo.gif"), Lacks("tessaravin.gif")}),
        Page(MakeStandalonePage("../secret.html", QString(), QString()), {Is("")}),
        Page(MakeStandalonePage("oxa.css", QString(), QString()), {Is("")}),
    });
}

} // namespace
} // namespace quillory
