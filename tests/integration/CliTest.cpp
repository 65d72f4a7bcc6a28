// The terminal look-up tool run as a separate process on the full data.
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

    const CliRun text = Cli({"char", "中"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains("zhōng"));
}

TEST(Cli, ListCommands) {
    const QJsonObject zhong = Json(Cli({"--json", "pinyin", "zhong1"}).out);
    EXPECT_EQ(zhong["title"].toString(), "[zhong]");
    EXPECT_TRUE(SectionChars(zhong, "zhong1").contains("中"));

    const QJsonObject zung = Json(Cli({"--json", "jyutping", "zung1"}).out);
    EXPECT_TRUE(SectionChars(zung, "zung1").contains("中"));

    const QJsonObject four = Json(Cli({"--json", "strokes", "4"}).out);
    EXPECT_EQ(four["title"].toString(), "[4]");
    EXPECT_TRUE(SectionChars(four, "4").contains("中"));

    const QJsonObject two = Json(Cli({"--json", "radical", "2"}).out);
    EXPECT_TRUE(SectionChars(two, "3").contains("中"));

    const CliRun variant = Cli({"--json", "radical", "168'"});
    ASSERT_EQ(variant.exitCode, 0) << variant.err.toStdString();
    const QJsonObject chang = Json(variant.out);
    QString all = chang["forms"].toString();
    for (const QJsonValue& section : chang["sections"].toArray()) {
        all += section["chars"].toString();
    }
    EXPECT_TRUE(all.contains("长"));
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
    EXPECT_EQ(Cli({"word", "文文文文文文"}).exitCode, 1);
    EXPECT_EQ(Cli({"english", "qqqzzzxxxnotaword"}).exitCode, 1);
    EXPECT_EQ(Cli({"pinyin", "zhong6"}).exitCode, 1);
    EXPECT_EQ(Cli({"hex", "FFFF"}).exitCode, 1);
    EXPECT_EQ(Cli({}).exitCode, 2);
    EXPECT_EQ(Cli({"frobnicate", "x"}).exitCode, 2);
    EXPECT_EQ(Cli({"strokes", "many"}).exitCode, 2);
    EXPECT_EQ(Cli({"radical", "999"}).exitCode, 2);
    EXPECT_EQ(Cli({"char"}).exitCode, 2);
    EXPECT_EQ(Cli({"hex", "zz"}).exitCode, 2);
    const CliRun notFound = Cli({"--json", "word", "文文文文文文"});
    EXPECT_EQ(notFound.exitCode, 1);
    EXPECT_TRUE(Json(notFound.out).contains("error"));
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

TEST(Cli, MissingDataFolderIsReportedNotCrashed) {
    const CliRun run = Cli({"--data", "/nonexistent/quillory", "char", "中"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("Cannot open "));
}

} // namespace
