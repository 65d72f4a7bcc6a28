// The terminal look-up tool run as a separate process on the full data.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun Cli(const QStringList& args, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral(QUILLORY_CLI_EXE), args);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QJsonObject Json(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return doc.object();
}

// The words of a command line, split at spaces.
CliRun Cli(const char* line) {
    return Cli(QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts));
}

// Exit status: 0 found, 1 not found, 2 bad usage, 3 no data; with pieces of standard output and error.
TEST(Cli, ExitStatusAndOutputOfEachCommand) {
    const struct {
        const char* line;
        int exitCode;
        const char* out;
        const char* err = "";
    } cases[] = {{"char 中", 0, "(zhōng zhòng)"},
                 {"char 六", 0, "(liù"},
                 {"--data /nonexistent/quillory char 中", 3, "", "Cannot open "},
                 // Messages keep their own case; only a code point is upper case.
                 {"hex 78", 1, "", "quillory-cli: U+0078 is not in the dictionary\n"},
                 {"--json hex 2a6a5", 1, "{\"error\":\"U+2A6A5 is not in the dictionary\"}"},
                 {"pinyin Zhong6", 1, "", "'Zhong6' is no Pinyin syllable"},
                 {"search 中", 0, "command 0 value 4E2D\n"},
                 {"search 中文", 0, "command 6 value 0 text 中文\n"},
                 {"search to study", 0, "command 7 value 0 text to study\n"},
                 {"search 4e2d", 0, "command 10 value 0 text 4e2d\n"},
                 {"search hello2", 1, "", "No results were found for \"hello2\"."},
                 {"page mmpp://0=4E2D", 0, "<span class=gb>&#x4E2D;</span>&nbsp;<a href=mmpp://5=4E2D>"},
                 {"page mmpp://0=4E2D", 0, "<td>2.3&nbsp;["},
                 {"page mmpp://0=4E2D", 0, "zung1"},
                 {"page mmpp://1=1916", 0, "<span class=py_green_large>zhong</span><br>"},
                 {"page mmpp://1=1916", 0, "mmpp://0=4E2D"},
                 {"page mmpp://2=1916", 0, "play Pinyin zhong1"},
                 {"page mmpp://D=1", 0, "support.php?todo=1&prod=Quillory&ver=1.0"},
                 {"page mmpp://0=7537", 0, "<td>102.2&nbsp;[&nbsp;<a href=mmpp://0=7530>"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun run = Cli(c.line);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.out)) << run.out.toStdString();
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
    }
    // Commands with only their exit status to check.
    const std::pair<int, std::vector<const char*>> statuses[] = {
        {0, {"page mmpp://8=4", "page mmpp://9=2", "page welcome"}},
        {1, {"english qqqzzzxxx", "pinyin zhong6", "hex FFFF", "word 文文文文文文", "page mmpp://6=1"}},
        {2, {"", "frobnicate x", "strokes many", "radical 999", "char", "hex zz"}},
        {2, {"page http://example.org/", "render mmpp://0=4E2D"}}}; // render without -o
    for (const auto& [status, lines] : statuses)
        for (const char* line : lines)
            EXPECT_EQ(Cli(line).exitCode, status) << line;
    EXPECT_TRUE(Cli({"page", "mmpp://0=4E2D"}).out.startsWith("<table width=100%>"));
    // 男's radical row shows 田, the form of radical 102 (as above), and nothing else.
    EXPECT_EQ(Cli("page mmpp://0=7537").out.count("mmpp://0="), 1);
}

TEST(Cli, JsonAnswersAreAlikeAloneAndInABatch) {
    const CliRun run =
        Cli({"--json", "batch"}, "char 中\nword 中文\nradical \"168'\"\nnonsense\nenglish to study\n"
                                 "strokes 4\npinyin zhong1\njyutping zung1\nradical 2\n");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 9);
    const QJsonObject zhong = Json(lines[0]), word = Json(lines[1]), english = Json(lines[4]);
    EXPECT_EQ(zhong["code"].toString(), "4E2D");
    EXPECT_EQ(zhong["char"].toString(), "中");
    EXPECT_TRUE(zhong["pinyin"].toArray().contains("zhong1") && zhong["pinyin"].toArray().contains("zhong4"));
    EXPECT_TRUE(zhong["jyutping"].toArray().contains("zung1"));
    EXPECT_EQ(zhong["strokes"].toInt(), 4);
    EXPECT_EQ(zhong["radical"].toString(), "2.3");
    EXPECT_TRUE(zhong["simplified"].isArray() && zhong["traditional"].isArray());
    EXPECT_EQ(word["word"].toString(), "中文");
    EXPECT_TRUE(word["pinyin"].toString().contains("zhong1 wen2"));
    EXPECT_FALSE(word["jyutping"].toString().isEmpty() || word["english"].toString().isEmpty());
    EXPECT_TRUE(Json(lines[3]).contains("error"));
    EXPECT_EQ(english["query"].toString(), "to study");
    // The best match has a word and its Pinyin (an empty list fails here too).
    EXPECT_FALSE(english["matches"][0]["word"].toString().isEmpty() ||
                 english["matches"][0]["pinyin"].toString().isEmpty());
    // List pages: their title and a character in a section.
    const struct {
        int line;
        const char *title, *label, *listed;
    } lists[] = {{6, "[zhong]", "zhong1", "中"},
                 {7, "[zung1]", "zung1", "中"},
                 {5, "[4]", "4", "中"},
                 {8, "[丨]", "3", "中"},
                 {2, "[长]", "0", "长"}};
    for (const auto& list : lists) {
        const QJsonObject page = Json(lines[list.line]);
        EXPECT_EQ(page["title"].toString(), QString::fromUtf8(list.title));
        QString chars;
        for (const QJsonValue& section : page["sections"].toArray())
            chars += section["label"].toString() == list.label ? section["chars"].toString() : QString();
        EXPECT_TRUE(chars.contains(QString::fromUtf8(list.listed))) << list.title;
    }
    // The same commands one at a time give the same answers.
    const std::pair<QStringList, int> alone[] = {{{"char", "中"}, 0},      {{"hex", "4e2d"}, 0},
                                                 {{"word", "中文"}, 1},    {{"english", "to study"}, 4},
                                                 {{"radical", "168'"}, 2}, {{"pinyin", "zhong1"}, 6}};
    for (const auto& [args, line] : alone) {
        const CliRun one = Cli(QStringList{"--json"} + args);
        EXPECT_EQ(one.exitCode, 0) << args.join(u' ').toStdString();
        EXPECT_EQ(Json(one.out), Json(lines[line])) << args.join(u' ').toStdString();
    }
    EXPECT_EQ(Json(Cli({"--json", "char", "学"}).out)["traditional"].toArray(), QJsonArray{"學"});
}

TEST(Cli, PagesInEveryInterfaceLanguageAndAsAStandaloneFile) {
    // Pinyin labels come in the display font's codes: hàn is h, 0xC3, n.
    const QStringList labels = {"<span class=en>Character</span>",
                                QString("<span class=py>h") + QChar(0xC3) + "n", "<span class=gb>汉字</span>",
                                "<span class=b5>漢字</span>", "<span class=jp>hon3 zi6</span>"};
    for (int language = 0; language < 5; ++language) {
        const QJsonObject page =
            Json(Cli({"--json", "--lang", QString::number(language), "page", "mmpp://0=4E2D"}).out);
        EXPECT_EQ(page["pageName"].toString(), "OXA.LOCAL.INDEX.HTML");
        EXPECT_TRUE(page["body"].toString().contains(labels[language])) << language;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath("zhong.html");
    ASSERT_EQ(Cli({"--lang", "2", "render", "mmpp://0=4E2D", "-o", path}).exitCode, 0);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains("<style>") && html.contains("汉字") && html.contains("OXA.LOCAL.INDEX.HTML"));
    // Readings carry Unicode marks, and every image is inlined.
    EXPECT_TRUE(html.contains("zhōng"));
    EXPECT_FALSE(html.contains(QChar(0x00CC)));
    EXPECT_FALSE(html.contains("src=write3_2.gif"));
    EXPECT_TRUE(html.contains("data:image/gif;base64,"));
}

} // namespace
