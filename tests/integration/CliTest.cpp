// The terminal look-up tool run as a separate process on the full data.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/DamagedStore.h"

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
                 {"search hello9", 1, "", "No results were found for \"hello9\"."},
                 {"page mmpp://0=4E2D", 0, "<span class=gb>&#x4E2D;</span>&nbsp;<a href=mmpp://5=4E2D>"},
                 {"page mmpp://0=4E2D", 0, "<td>2.3&nbsp;["},
                 {"page mmpp://0=4E2D", 0, "zung1"},
                 {"page mmpp://1=1916", 0, "<span class=py_green_large>zhong</span><br>"},
                 {"page mmpp://1=1916", 0, "<span class=\"gb chars\">&#x4E2D;&nbsp;"},
                 {"page mmpp://2=1916", 0, "play Pinyin zhong1"},
                 {"page mmpp://D=1", 0, "support.php?todo=1&prod=Quillory&ver=1.0"},
                 {"page mmpp://0=7537", 0, "<td>102.2&nbsp;[&nbsp;<a href=mmpp://0=7530>"},
                 // The shipped lessons; lesson commands need no dictionary data.
                 {"--data /nonexistent/quillory lessons", 0, "oxa  1  Greetings (15 sections)\n"},
                 {"lessons", 0, "html 1  The Four Tones\n"},
                 {"lesson 3", 0, "2. Mother: 妈妈 | 媽媽 | ma1 ma5 | maa4 maa1 | mother, mum\n"},
                 {"--json lesson 3", 0,
                  "{\"english\":\"father, dad\",\"fanti\":\"爸爸\",\"jianti\":\"爸爸\","
                  "\"jyutping\":\"baa4 baa1\",\"pinyin\":\"ba4 ba5\",\"title\":\"Father\"}"},
                 {"--json lesson 3", 0, "\"title\":{\"en\":\"Family\",\"ft\":\"家人\",\"jp\":\"gaa1 jan4\""},
                 {"lesson 999", 1, "", "quillory-cli: no Oxa lesson has the id 999\n"},
                 {"lesson 0", 2, "", "'lesson' takes a lesson id"},
                 {"lessons 1", 2, "", "'lessons' takes no argument"},
                 // Stroke order: 中 from its record (strokes down, across, across, down).
                 {"strokes-of 中", 0,
                  "中 U+4E2D: 4 strokes\n 1  contour 0  top to bottom\n 2  contour 1  left to right\n"},
                 {"--json strokes-of 中", 0,
                  "{\"char\":\"中\",\"order\":[{\"continues\":false,\"contour\":0,\"direction\":1},"
                  "{\"continues\":false,\"contour\":1,\"direction\":0}"},
                 {"strokes-of 丼", 1, "", "quillory-cli: 丼 (U+4E3C) has no stroke-order data\n"},
                 {"strokes-of 中文", 2, "", "'strokes-of' takes one character"}};
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

TEST(Cli, LessonExportIsAStandaloneLessonFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("family.oxa");
    const CliRun run = Cli({"--json", "lesson", "3", "--export", path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(Json(run.out)["exported"].toString(), path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // The title record first, then the twelve sections, Chinese in GBK.
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("[0:title]\njt=\xBC\xD2\xC8\xCB\nft=")) << bytes.left(40).toStdString();
    EXPECT_TRUE(bytes.contains("[12:This is my mother]\n"));
    EXPECT_EQ(Cli({"lesson", "3", "--export", dir.filePath("no/folder/x.oxa")}).exitCode, 1);
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

// strokes-of in a batch, with the pictures: the whole glyph in black, then
// each stroke added in black over the grey glyph.
TEST(Cli, StrokesOfInABatchWithPictures) {
    QTemporaryDir dir;
    const CliRun run =
        Cli({"--json", "--png", dir.path(), "batch"}, "strokes-of 永\nstrokes-of 丼\nstrokes-of 學\n");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject yong = Json(lines[0]);
    EXPECT_EQ(yong["strokes"].toInt(), 5);
    EXPECT_EQ(yong["order"].toArray().size(), 5);
    EXPECT_TRUE(Json(lines[1]).contains("error"));
    EXPECT_EQ(Json(lines[2])["strokes"].toInt(), 16);
    const QJsonArray pictures = yong["pictures"].toArray();
    ASSERT_EQ(pictures.size(), 6);
    EXPECT_TRUE(pictures[0].toString().endsWith("/6C38.png"));
    EXPECT_TRUE(pictures[5].toString().endsWith("/6C38-05.png"));
    const auto read = [&](int i) {
        QFile file(pictures[i].toString());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    // The whole glyph and the last reveal draw the same pixels, all in black.
    const QByteArray whole = read(0);
    EXPECT_TRUE(whole.startsWith("\x89PNG"));
    EXPECT_EQ(read(5), whole);
    EXPECT_NE(read(1), whole);
}

// A data folder of links to the full data's files, but for one damaged copy
// (or, with Copy, a copy for the test to damage).
enum class Damage { Copy, Empty, HalfCut, ZeroCharacters, ZeroGlosses, ZeroReadingKeys, Foreign, Device };
bool MakeDamagedFolder(const QString& folder, const char* damagedFile, Damage damage) {
    const QDir full(QStringLiteral(QUILLORY_DATA_DIR));
    for (const QString& name : full.entryList(QDir::Files)) {
        if (name != QLatin1String(damagedFile) && !QFile::link(full.filePath(name), folder + '/' + name))
            return false;
    }
    const QString path = folder + '/' + damagedFile;
    switch (damage) {
    case Damage::Copy:
        return QFile::copy(full.filePath(damagedFile), path);
    case Damage::Empty:
        return QFile(path).open(QIODevice::WriteOnly);
    case Damage::Device:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Damage::HalfCut:
        return QFile::copy(full.filePath(damagedFile), path) &&
               QFile::resize(path, QFileInfo(path).size() / 2);
    case Damage::ZeroCharacters:
    case Damage::ZeroGlosses:
    case Damage::ZeroReadingKeys: {
        const char* table = damage == Damage::ZeroGlosses       ? "english_glosses"
                            : damage == Damage::ZeroReadingKeys ? "reading_keys_by_letters"
                                                                : "characters";
        return QFile::copy(full.filePath(damagedFile), path) &&
               quillory::testing::ZeroTablePages(path, table);
    }
    case Damage::Foreign: {
        sqlite3* db = nullptr;
        const bool made =
            sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK &&
            sqlite3_exec(db, "CREATE TABLE characters(code)", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return made;
    }
    }
    return false;
}

// Damaged data is never taken for a missing entry: every look-up that meets
// it exits with 3 and the data-folder message, alone and in a batch.
TEST(Cli, DamagedDataExitsWithThree) {
    const struct {
        const char* file;
        Damage damage;
        const char* line;
    } cases[] = {{"ijk.dat", Damage::Empty, "pinyin zhong1"},
                 {"ijk.dat", Damage::Empty, "page mmpp://1=1916"},
                 {"ijk.dat", Damage::HalfCut, "pinyin zhong1"},
                 {"ijk.dat", Damage::Device, "pinyin zhong1"},
                 {"oxa.dat", Damage::Device, "char 中"},
                 {"jkl.dat", Damage::HalfCut, "jyutping zung1"},
                 {"ghi.dat", Damage::Empty, "strokes 4"},
                 {"hij.dat", Damage::Empty, "radical 2"},
                 {"hij.dat", Damage::Empty, "page mmpp://9=2"},
                 {"records.db", Damage::ZeroCharacters, "char 中"},
                 {"records.db", Damage::ZeroGlosses, "english to study"},
                 {"records.db", Damage::ZeroReadingKeys, "lookup zhongwen"},
                 {"records.db", Damage::HalfCut, "word 中文"},
                 {"records.db", Damage::Foreign, "hex 4E2D"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + c.line);
        QTemporaryDir dir;
        ASSERT_TRUE(MakeDamagedFolder(dir.path(), c.file, c.damage));
        const CliRun run = Cli(QStringList{"--data", dir.path()} + QString::fromUtf8(c.line).split(u' '));
        EXPECT_EQ(run.exitCode, 3) << run.out.left(200).toStdString();
        EXPECT_TRUE(run.err.contains("is missing or damaged")) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("QIODevice")) << run.err.toStdString(); // no warning of Qt's own
        const CliRun batch =
            Cli({"--data", dir.path(), "--json", "batch"}, QByteArray(c.line) + "\nhex 4E00\n");
        EXPECT_EQ(batch.exitCode, 3);
        // A store that does not open ends the batch before its first line.
        const bool opened = batch.err.count("is missing or damaged") == 0;
        EXPECT_EQ(batch.out.startsWith("{\"error\":\"the dictionary data in "), opened)
            << batch.out.toStdString();
    }
    // An undamaged list next to a damaged one still answers; so does every
    // look-up beside a sound archive that is a device (the tool never opens it).
    QTemporaryDir dir;
    ASSERT_TRUE(MakeDamagedFolder(dir.path(), "jkl.dat", Damage::Empty));
    EXPECT_EQ(Cli({"--data", dir.path(), "pinyin", "zhong1"}).exitCode, 0);
    ASSERT_TRUE(QFile::remove(dir.filePath("sounds.dat")) &&
                QFile::link("/dev/zero", dir.filePath("sounds.dat")));
    EXPECT_EQ(Cli({"--data", dir.path(), "char", "中"}).exitCode, 0);
}

// A record whose variant fields hold surrogates or values beyond Unicode
// gives valid UTF-8 with U+FFFD in their place, never a lone surrogate.
TEST(Cli, DamagedVariantFieldsGiveValidText) {
    QTemporaryDir dir;
    ASSERT_TRUE(MakeDamagedFolder(dir.path(), "records.db", Damage::Copy));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(dir.filePath("records.db")).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "UPDATE characters SET fanti = 'D800 DFFF 110000' WHERE code = 20013", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const CliRun run = Cli({"--data", dir.path(), "--json", "char", "中"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(run.out);
    EXPECT_FALSE(utf8.hasError()) << run.out.toStdString();
    EXPECT_EQ(Json(run.out)["traditional"].toArray(), (QJsonArray{"\uFFFD", "\uFFFD"}))
        << run.out.toStdString();
}

// render -o writes regular files only: a FIFO or a folder is refused and
// left as it is (a device would be too; none is risked here); "-o -" gives
// the page on standard output.
TEST(Cli, RenderWritesOnlyRegularFiles) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("page.html");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& target : {fifo, dir.path()}) {
        const CliRun run = Cli({"render", "mmpp://0=4E2D", "-o", target});
        EXPECT_EQ(run.exitCode, 2) << target.toStdString();
        EXPECT_TRUE(run.err.contains("-o takes a regular file")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    const CliRun out = Cli({"render", "mmpp://0=4E2D", "-o", "-"});
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_TRUE(out.out.startsWith("<!DOCTYPE html>")) << out.out.left(40).toStdString();
    EXPECT_TRUE(out.out.contains("OXA.LOCAL.INDEX.HTML"));
}

// A store that another program holds locked is not "not in the dictionary".
TEST(Cli, LockedRecordStoreExitsWithThree) {
    QTemporaryDir dir;
    ASSERT_TRUE(MakeDamagedFolder(dir.path(), "records.db", Damage::Copy));
    const quillory::testing::StoreLock lock(dir.filePath("records.db"));
    ASSERT_TRUE(lock.isLocked());
    const CliRun run = Cli({"--data", dir.path(), "char", "中"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains("another program holds it locked")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("to read or write"));
}

// convert: standard input to standard output with the window's rules.
TEST(Cli, ConvertFromStandardInput) {
    const struct {
        const char* line;
        const char* input;
        int exitCode;
        const char* out;
    } cases[] = {{"convert --from gb --to html", "中文 &", 0, "&#x4e2d;&#x6587; &#38;"},
                 {"convert --from html --to big5", "&#20013;&#x6587;&#x4G2D;", 0, "中文&#x4G2D;"},
                 {"convert --from pinyin --to html", "ni3 hao3", 0, "n&#464; h&#462;o"},
                 {"convert --from gb --to big5", "头发 发展 干燥 后面", 0, "頭髮 發展 乾燥 後面"},
                 {"convert --from gb --to big5 --variant tw", "着", 0, "著"},
                 {"convert --from big5 --to gb", "頭髮", 0, "头发"},
                 {"convert --from gb --to pinyin", "银行行人", 0, "yin2 hang2  xing2 ren2"},
                 {"convert --from big5 --to jyutping", "銀行", 0, "ngan4 hong4"},
                 {"convert --from jyutping --to html", "nei5", 0, "nei5"},
                 {"convert --from html --to pinyin", "x", 2, ""},
                 {"convert --from gb --to klingon", "x", 2, ""},
                 {"convert --from gb", "x", 2, ""},
                 {"convert --from gb --to big5 --variant cn", "x", 2, ""},
                 {"--data /nonexistent/quillory convert --from gb --to pinyin", "中", 3, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CliRun run =
            Cli(QString::fromUtf8(c.line).split(u' ', Qt::SkipEmptyParts), QByteArray(c.input));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_EQ(run.out, QByteArray(c.out));
    }
}

// The search box's look-up on the full data: romanised queries typed any way
// find their word first; a plain English word stays English; in a batch too.
TEST(Cli, LookupReadsRomanisedQueriesAnyWay) {
    const struct {
        const char* query;
        const char* kind;
        const char* first; // the first match, or "" to skip
    } cases[] = {
        {"zhongwen", "pinyin", "中文"},    {"ni3hao3", "pinyin", "你好"},  {"lǚyóu", "pinyin", "旅游"},
        {"nei5 hou2", "jyutping", "你好"}, {"zhōngwén", "pinyin", "中文"}, {"water", "english", ""},
        {"hello", "english", ""},          {"bank", "english", ""},        {"fan", "mixed", ""},
        {"中文", "chinese", "中文"},       {"4e2d", "hex", "中"}};
    QByteArray batch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        const CliRun run = Cli({"--json", "lookup", QString::fromUtf8(c.query)});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QJsonObject answer = Json(run.out);
        EXPECT_EQ(answer["kind"].toString(), c.kind);
        const QJsonObject best = answer["matches"][0].toObject();
        EXPECT_FALSE(best["pinyin"].toString().isEmpty() || best["english"].toString().isEmpty());
        if (*c.first) {
            EXPECT_EQ(best["word"].toString(), QString::fromUtf8(c.first));
        }
        batch += "lookup " + QByteArray(c.query) + '\n';
    }
    const CliRun all = Cli({"--json", "batch"}, batch + "suggest zhongw\nlookup xqxq\n");
    EXPECT_EQ(all.exitCode, 0);
    const QList<QByteArray> lines = all.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), qsizetype(std::size(cases)) + 2);
    EXPECT_EQ(Json(lines[0]), Json(Cli({"--json", "lookup", "zhongwen"}).out));
    const QJsonArray suggestions = Json(lines[lines.size() - 2])["suggestions"].toArray();
    EXPECT_TRUE(std::any_of(suggestions.begin(), suggestions.end(), [](const QJsonValue& s) {
        return s["word"].toString() == QString::fromUtf8("中文") && s["reading"].toString() == "zhong1 wen2";
    }));
    EXPECT_TRUE(Json(lines.back()).contains("error"));
    const CliRun none = Cli({"lookup", "xqxq"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(Cli({"suggest"}).exitCode, 2);
}

} // namespace
