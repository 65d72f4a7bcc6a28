// The terminal look-up tool run as a separate process on the full data.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
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

QStringList Strings(const QJsonValue& value) {
    QStringList list;
    for (const QJsonValue& v : value.toArray()) {
        list.append(v.toString());
    }
    return list;
}

QString SectionChars(const QJsonObject& page, const QString& label) {
    for (const QJsonValue& section : page["sections"].toArray()) {
        if (section["label"].toString() == label) {
            return section["chars"].toString();
        }
    }
    return {};
}

TEST(Cli, CharacterAndHexGiveTheSameRecord) {
    const CliRun byChar = Cli({"--json", "char", "中"});
    ASSERT_EQ(byChar.exitCode, 0) << byChar.err.toStdString();
    const QJsonObject zhong = Json(byChar.out);
    EXPECT_EQ(zhong["code"].toString(), "4E2D");
    EXPECT_EQ(zhong["char"].toString(), "中");
    EXPECT_TRUE(Strings(zhong["pinyin"]).contains("zhong1"));
    EXPECT_TRUE(Strings(zhong["pinyin"]).contains("zhong4"));
    EXPECT_TRUE(Strings(zhong["jyutping"]).contains("zung1"));
    EXPECT_EQ(zhong["strokes"].toInt(), 4);
    EXPECT_EQ(zhong["radical"].toString(), "2.3");
    EXPECT_TRUE(zhong["simplified"].isArray());
    EXPECT_TRUE(zhong["traditional"].isArray());

    const CliRun byHex = Cli({"--json", "hex", "4e2d"});
    ASSERT_EQ(byHex.exitCode, 0);
    EXPECT_EQ(Json(byHex.out), zhong);

    const QJsonObject xue = Json(Cli({"--json", "char", "学"}).out);
    EXPECT_EQ(Strings(xue["traditional"]), QStringList{"學"});

    EXPECT_TRUE(QString::fromUtf8(Cli({"char", "中"}).out).contains("(zhōng zhòng)"));
    EXPECT_TRUE(QString::fromUtf8(Cli({"char", "六"}).out).contains("(liù"));
}

TEST(Cli, ListCommands) {
    const struct {
        QStringList args;
        const char *title, *label, *listed;
    } cases[] = {{{"pinyin", "zhong1"}, "[zhong]", "zhong1", "中"},
                 {{"jyutping", "zung1"}, "[zung1]", "zung1", "中"},
                 {{"strokes", "4"}, "[4]", "4", "中"},
                 {{"radical", "2"}, "[丨]", "3", "中"},
                 {{"radical", "168'"}, "[长]", "0", "长"}};
    for (const auto& c : cases) {
        const CliRun run = Cli(QStringList{"--json"} + c.args);
        ASSERT_EQ(run.exitCode, 0) << c.title << run.err.toStdString();
        EXPECT_EQ(Json(run.out)["title"].toString(), QString::fromUtf8(c.title));
        EXPECT_TRUE(SectionChars(Json(run.out), c.label).contains(QString::fromUtf8(c.listed))) << c.title;
    }
}

TEST(Cli, WordsAndEnglish) {
    const QJsonObject word = Json(Cli({"--json", "word", "中文"}).out);
    EXPECT_EQ(word["word"].toString(), "中文");
    EXPECT_TRUE(word["pinyin"].toString().contains("zhong1 wen2"));
    EXPECT_FALSE(word["jyutping"].toString().isEmpty());
    EXPECT_FALSE(word["english"].toString().isEmpty());

    const QJsonObject english = Json(Cli({"--json", "english", "to study"}).out);
    EXPECT_EQ(english["query"].toString(), "to study");
    const QJsonArray matches = english["matches"].toArray();
    ASSERT_FALSE(matches.isEmpty());
    EXPECT_FALSE(matches[0]["word"].toString().isEmpty());
    EXPECT_FALSE(matches[0]["pinyin"].toString().isEmpty());
}

TEST(Cli, ExitStatusTellsNotFoundFromBadUsage) {
    for (const QStringList& notFound : std::initializer_list<QStringList>{{"word", "文文文文文文"},
                                                                          {"english", "qqqzzzxxxnotaword"},
                                                                          {"pinyin", "zhong6"},
                                                                          {"hex", "FFFF"}}) {
        EXPECT_EQ(Cli(notFound).exitCode, 1) << notFound.join(u' ').toStdString();
    }
    for (const QStringList& badUsage : std::initializer_list<QStringList>{
             {}, {"frobnicate", "x"}, {"strokes", "many"}, {"radical", "999"}, {"char"}, {"hex", "zz"}}) {
        EXPECT_EQ(Cli(badUsage).exitCode, 2) << badUsage.join(u' ').toStdString();
    }
    const CliRun notFound = Cli({"--json", "word", "文文文文文文"});
    EXPECT_EQ(notFound.exitCode, 1);
    EXPECT_TRUE(Json(notFound.out).contains("error"));
}

// Messages keep their own case; only a code point is upper case.
TEST(Cli, ErrorMessagesKeepTheirCase) {
    const CliRun text = Cli({"hex", "78"});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.err, "quillory-cli: U+0078 is not in the dictionary\n");
    EXPECT_EQ(Json(Cli({"--json", "hex", "2a6a5"}).out)["error"].toString(),
              "U+2A6A5 is not in the dictionary");
    EXPECT_TRUE(Cli({"pinyin", "Zhong6"}).err.contains("'Zhong6' is no Pinyin syllable"));
}

TEST(Cli, BatchAnswersEveryLineInOneProcess) {
    const QByteArray input = "char 中\nword 中文\nradical \"168'\"\nnonsense\nenglish to study\nstrokes 4\n";
    const CliRun run = Cli({"--json", "batch"}, input);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(Json(lines[0])["code"].toString(), "4E2D");
    EXPECT_EQ(Json(lines[1])["word"].toString(), "中文");
    EXPECT_TRUE(Json(lines[2]).contains("sections"));
    EXPECT_TRUE(Json(lines[3]).contains("error"));
    EXPECT_EQ(Json(lines[4])["query"].toString(), "to study");
    EXPECT_EQ(Json(lines[5])["title"].toString(), "[4]");
}

TEST(Cli, PagesOfLinksInEveryInterfaceLanguage) {
    const CliRun english = Cli({"page", "mmpp://0=4E2D"});
    ASSERT_EQ(english.exitCode, 0) << english.err.toStdString();
    const QString body = QString::fromUtf8(english.out);
    EXPECT_TRUE(body.startsWith("<table width=100%>"));
    EXPECT_TRUE(body.contains("<span class=gb>&#x4E2D;</span>&nbsp;<a href=mmpp://5=4E2D>"));
    EXPECT_TRUE(body.contains("zung1"));
    EXPECT_TRUE(body.contains("<td>2.3&nbsp;["));
    // 男's radical row shows 田, the form of radical 102, and nothing else.
    const QString nan = QString::fromUtf8(Cli({"page", "mmpp://0=7537"}).out);
    EXPECT_TRUE(nan.contains("<td>102.2&nbsp;[&nbsp;<a href=mmpp://0=7530>"));
    EXPECT_EQ(nan.count("mmpp://0="), 1);

    // The same page with the labels of each interface language.
    // Pinyin labels come in the display font's codes: hàn is h, 0xC3, n.
    const QStringList labels = {"<span class=en>Character</span>",
                                QString("<span class=py>h") + QChar(0xC3) + "n", "<span class=gb>汉字</span>",
                                "<span class=b5>漢字</span>", "<span class=jp>hon3 zi6</span>"};
    for (int language = 0; language < 5; ++language) {
        const CliRun run = Cli({"--json", "--lang", QString::number(language), "page", "mmpp://0=4E2D"});
        ASSERT_EQ(run.exitCode, 0);
        const QJsonObject page = Json(run.out);
        EXPECT_EQ(page["pageName"].toString(), "OXA.LOCAL.INDEX.HTML");
        EXPECT_FALSE(page["body"].toString().isEmpty());
        EXPECT_TRUE(page["body"].toString().contains(labels[language])) << language;
    }

    const QString pinyin = QString::fromUtf8(Cli({"page", "mmpp://1=1916"}).out);
    EXPECT_TRUE(pinyin.contains("<span class=py_green_large>zhong</span><br>"));
    EXPECT_TRUE(pinyin.contains("mmpp://0=4E2D"));
    EXPECT_EQ(Cli({"page", "mmpp://8=4"}).exitCode, 0);
    EXPECT_EQ(Cli({"page", "mmpp://9=2"}).exitCode, 0);
    EXPECT_EQ(Cli({"page", "welcome"}).exitCode, 0);

    // Links that show no page: a sound, a support address, a refused text command.
    EXPECT_TRUE(Cli({"page", "mmpp://2=1916"}).out.contains("play Pinyin zhong1"));
    EXPECT_TRUE(Cli({"page", "mmpp://D=1"}).out.contains("support.php?todo=1&prod=Quillory&ver=1.0"));
    EXPECT_EQ(Cli({"page", "mmpp://6=1"}).exitCode, 1);
    EXPECT_EQ(Cli({"page", "http://example.org/"}).exitCode, 2);
}

TEST(Cli, RenderWritesAStandalonePage) {
    const QString path = QDir::temp().filePath("quillory-cli-render-test.html");
    QFile::remove(path);
    const CliRun run = Cli({"--lang", "2", "render", "mmpp://0=4E2D", "-o", path});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(html.contains("<style>"));
    EXPECT_TRUE(html.contains("汉字"));
    // Readings carry Unicode marks, and every image is inlined.
    EXPECT_TRUE(html.contains("zhōng"));
    EXPECT_FALSE(html.contains(QChar(0x00CC)));
    EXPECT_FALSE(html.contains("src=write3_2.gif"));
    EXPECT_TRUE(html.contains("data:image/gif;base64,"));
    EXPECT_TRUE(html.contains("SetWhoAmI(\"OXA.LOCAL.INDEX.HTML\")") ||
                html.contains("OXA.LOCAL.INDEX.HTML"));
    file.close();
    QFile::remove(path);
    EXPECT_EQ(Cli({"render", "mmpp://0=4E2D"}).exitCode, 2); // no -o
}

TEST(Cli, SearchShowsWhatTheSearchBoxPosts) {
    EXPECT_EQ(Cli({"search", "中"}).out.trimmed(), "command 0 value 4E2D");
    EXPECT_EQ(Cli({"search", "中文"}).out.trimmed(), "command 6 value 0 text 中文");
    EXPECT_EQ(Cli({"search", "to", "study"}).out.trimmed(), "command 7 value 0 text to study");
    EXPECT_EQ(Cli({"search", "4e2d"}).out.trimmed(), "command 10 value 0 text 4e2d");
    const CliRun unsearchable = Cli({"search", "hello2"});
    EXPECT_EQ(unsearchable.exitCode, 1);
    EXPECT_TRUE(unsearchable.err.contains("No results were found for \"hello2\"."));
}

TEST(Cli, MissingDataFolderIsReportedNotCrashed) {
    const CliRun run = Cli({"--data", "/nonexistent/quillory", "char", "中"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Cannot open "));
}

} // namespace
