// The record store: written by the data compiler from merged sources, read
// back by RecordStore (characters, words, English matches), and both sides'
// behaviour on bad files, failed writes and hostile queries.
#include "dictionary/records/RecordStore.h"
#include "datagen/writers/RecordStoreWriter.h"
#include "dictionary/records/EnglishGloss.h"
#include "tests/support/DamagedStore.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

using namespace quillory;
using namespace quillory::datagen;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

CharacterSource& AddCharacter(SourceData& data, std::uint32_t code, std::vector<std::string> pinyin,
                              std::vector<std::string> jyutping, int strokes, const char* radical,
                              const char* definition, int frequency = 0) {
    CharacterSource c;
    c.code = code;
    c.pinyin = std::move(pinyin);
    c.jyutping = std::move(jyutping);
    c.strokes = strokes;
    c.radical = S(radical);
    c.definition = S(definition);
    c.frequency = frequency;
    return data.characters[code] = c;
}

void AddWord(SourceData& data, const char* traditional, const char* simplified, const char* pinyin,
             const char* jyutping, const char* english) {
    data.words.push_back({S(traditional), S(simplified), S(pinyin), S(jyutping), S(english)});
}

SourceData SmallSource() {
    SourceData d;
    AddCharacter(d, 0x4E2D, {"zhong1", "zhong4"}, {"zung1", "zung3"}, 4, "2.3",
                 "central; center, middle; in the middle of; among", 1);
    d.characters[0x4E2D].cedictEnglish = S("China / middle / to hit (the mark)");
    AddCharacter(d, 0x5B66, {"xue2"}, {"hok6"}, 8, "39.5", "learning, knowledge; school", 1);
    d.characters[0x5B66].traditional = {0x5B78};
    AddCharacter(d, 0x5B78, {"xue2"}, {"hok6"}, 16, "39.13", "learning, knowledge; school", 2);
    d.characters[0x5B78].simplified = {0x5B66};
    // 习 is ungraded itself: words holding it rank by its traditional form's grade.
    AddCharacter(d, 0x4E60, {"xi2"}, {"zaap6"}, 3, "5.2", "practice, exercise, review").traditional = {
        0x7FD2};
    AddCharacter(d, 0x7FD2, {"xi2"}, {"zaap6"}, 11, "124.5", "", 1).simplified = {0x4E60};
    AddCharacter(d, 0x7814, {"yan2"}, {"jin4"}, 9, "112.4", "grind, rub; study, research", 2);
    AddCharacter(d, 0x7A76, {"jiu1"}, {"gau3"}, 7, "116.2", "examine, investigate", 2);
    AddCharacter(d, 0x6587, {"wen2"}, {"man4"}, 4, "67.0", "literature, culture, writing", 1);
    AddCharacter(d, 0x884C, {"xing2", "hang2"}, {"hang4", "hong4"}, 6, "144.0", "").cedictEnglish =
        S("to walk / row");
    AddCharacter(d, 0x4E1F, {"diu1"}, {"diu1"}, 6, "1.5", "lose, discard", 3).simplified = {0x20000, 0x4E22};
    AddCharacter(d, 0x4E59, {}, {}, 0, "", "");
    AddCharacter(d, 0x5CB8, {"an4"}, {"ngon6"}, 8, "46.5", "", 4);
    AddCharacter(d, 0x6F18, {"chun2"}, {"seon4"}, 14, "85.11", "bank"); // ungraded: rare

    AddWord(d, "中", "中", "zhong1", "zung1", "China / Chinese / middle / center / among");
    AddWord(d, "中", "中", "zhong4", "zung3", "to hit (the mark) / to be hit by / to suffer / middle");
    AddWord(d, "學", "学", "xue2", "hok6", "to learn / to study / science / -ology");
    AddWord(d, "學習", "学习", "xue2 xi2", "hok6 zaap6", "to learn / to study");
    AddWord(d, "研究", "研究", "yan2 jiu1", "jin4 gau3", "to study / to research / research");
    AddWord(d, "中文", "中文", "zhong1 wen2", "zung1 man4", "Chinese language");
    AddWord(d, "行", "行", "xing2", "hang4", "to walk / to go / OK");
    AddWord(d, "行", "行", "hang2", "hong4", "row / line / OK");
    AddWord(d, "銀行", "银行", "yin2 hang2", "", "bank");
    AddWord(d, "學生", "学生", "xue2 sheng5", "hok6 saang1", "student / schoolchild");
    AddWord(d, "自習", "自习", "zi4 xi2", "zi6 zaap6", "to study on one's own / self-study");
    AddWord(d, "攻讀", "攻读", "gong1 du2", "gung1 duk6",
            "to major (in a field) / to study a specialty to obtain a higher degree");
    AddWord(d, "書房", "书房", "shu1 fang2", "syu1 fong4", "study (room) / studio");
    AddWord(d, "功課", "功课", "gong1 ke4", "gung1 fo3", "homework / assignment / studies");
    AddWord(d, "案例研究", "案例研究", "an4 li4 yan2 jiu1", "on3 lai6 jin4 gau3", "case study");
    AddWord(d, "岸", "岸", "an4", "ngon6", "bank; shore");
    AddWord(d, "河岸", "河岸", "he2 an4", "ho4 ngon6", "bank (of a river)");
    AddWord(d, "一排", "一排", "yi1 pai2", "jat1 paai4", "row");
    // Corpus counts; 行's is mostly that of its main reading xing2.
    for (const auto& [word, count] : std::initializer_list<std::pair<const char*, qint64>>{{"学", 17482},
                                                                                           {"学习", 13482},
                                                                                           {"研究", 9000},
                                                                                           {"学生", 5000},
                                                                                           {"书房", 828},
                                                                                           {"银行", 7684},
                                                                                           {"岸", 1925},
                                                                                           {"漘", 500},
                                                                                           {"行", 22128},
                                                                                           {"一排", 50}})
        d.wordCounts.insert(S(word), count);
    d.cedictHeader = S("# CC-CEDICT test header");
    d.radicalForms[S("2")] = {0x4E28};
    return d;
}

std::vector<QString> Words(const std::vector<EnglishMatch>& matches) {
    std::vector<QString> words;
    for (const EnglishMatch& m : matches)
        words.push_back(m.word);
    return words;
}

// Every field of a record in its order; an absent record gives {"<none>"}.
QStringList Fields(const std::optional<CharacterRecord>& r) {
    if (!r)
        return {"<none>"};
    return QStringList() << QString::number(r->code, 16) << r->pinyin << r->jyutping << r->strokes
                         << r->radical << r->field5 << r->field6 << r->english2 << r->fanti << r->jianti
                         << r->field10 << r->english << r->field12 << r->field13;
}

QStringList Fields(const std::optional<WordEntry>& e) {
    if (!e)
        return {"<none>"};
    return {e->word, e->pinyin, e->jyutping, e->english};
}

class RecordStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        const QString path = dir_->filePath(QStringLiteral("records.db"));
        QString error;
        RecordStoreStats stats;
        ASSERT_TRUE(WriteRecordStore(SmallSource(), path, &error, &stats)) << error.toStdString();
        EXPECT_EQ(stats.characters, 13);
        EXPECT_EQ(stats.words, 18);
        EXPECT_EQ(stats.fileSize, QFileInfo(path).size());
        store_ = new RecordStore;
        ASSERT_TRUE(store_->Open(path));
    }
    static void TearDownTestSuite() {
        delete store_;
        delete dir_;
    }
    static std::vector<QString> Find(const char* query, int limit = 50) {
        return Words(store_->englishMatches(S(query), limit));
    }
    static std::vector<QString> Suggest(const char* prefix, int limit = 10) {
        return Words(store_->englishPrefixMatches(S(prefix), limit));
    }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline RecordStore* store_ = nullptr;
};

TEST_F(RecordStoreTest, CharacterRecordsHoldEveryFieldInTheCharactersOwnForm) {
    // 中: field 6 counts 中 twice and 中文; 学/學: variants and examples in each form; 丟: variants
    // above U+FFFF are kept; 行: the dictionary's glosses stand in for a missing definition; 乙: no data.
    const std::vector<std::pair<std::uint32_t, QStringList>> cases = {
        {0x4E2D,
         {"4e2d", "zhong1 zhong4", "zung1 zung3", "4", "2.3", "1", "3", "China / middle / to hit (the mark)",
          "", "", S("zhōng zhòng"), "central / center, middle / in the middle of / among", "4E28",
          S("中文")}},
        {0x5B66,
         {"5b66", "xue2", "hok6", "8", "39.5", "1", "3", "", "5B78", "", S("xué"),
          "learning, knowledge / school", "", S("学习 学生")}},
        {0x5B78,
         {"5b78", "xue2", "hok6", "16", "39.13", "2", "3", "", "", "5B66", S("xué"),
          "learning, knowledge / school", "", S("學習 學生")}},
        {0x4E1F,
         {"4e1f", "diu1", "diu1", "6", "1.5", "3", "0", "", "", "20000 4E22", S("diū"), "lose, discard", "",
          ""}},
        {0x884C,
         {"884c", "xing2 hang2", "hang4 hong4", "6", "144.0", "", "3", "to walk / row", "", "",
          S("xíng háng"), "to walk / row", "", S("银行")}},
        {0x4E59, {"4e59", "", "", "", "", "", "0", "", "", "", "", "", "", ""}},
        {0x4E00, {"<none>"}},
        {0x20000, {"<none>"}},
        {0xFFFFFFFF, {"<none>"}}};
    for (const auto& [code, fields] : cases)
        EXPECT_EQ(Fields(store_->characterRecord(code)), fields) << std::hex << code;
}

TEST_F(RecordStoreTest, WordsAreFoundByEitherFormWithMergedEntries) {
    const std::vector<std::pair<const char*, QStringList>> cases = {
        {"学习", {S("学习"), "xue2 xi2", "hok6 zaap6", "to learn / to study"}},
        {"學習", {S("學習"), "xue2 xi2", "hok6 zaap6", "to learn / to study"}},
        {"中",
         {S("中"), "zhong1 / zhong4", "zung1 / zung3",
          "China / Chinese / middle / center / among / to hit (the mark) / to be hit by / to suffer"}},
        {"行", {S("行"), "xing2 / hang2", "hang4 / hong4", "to walk / to go / OK / row / line"}},
        {" 銀行\t", {S("銀行"), "yin2 hang2", "", "bank"}},
        {"文", {"<none>"}}, // a character, but no dictionary word
        {"学习中", {"<none>"}},
        {"", {"<none>"}},
        {"  ", {"<none>"}},
        {"' OR 1=1 --", {"<none>"}}};
    for (const auto& [word, fields] : cases)
        EXPECT_EQ(Fields(store_->wordEntry(S(word))), fields) << word;
    for (const char* query : {"zebra", "study zebra", "", " \t\n", "!?/;"})
        EXPECT_TRUE(Find(query).empty()) << query;
}

TEST_F(RecordStoreTest, StudyRanksWholeGlossesThenPrefixesThenOtherMatches) {
    // Whole glosses by count, a first gloss (研究, 书房) weighing four times a
    // second sense (学, 学习); then glosses starting with "study", uncounted.
    const std::vector<QString> expectedHead = {
        S("研究"), S("学"), S("学习"), S("书房"), S("研"), S("自习"), S("攻读"),
    };
    for (const char* query : {"study", "Study", "  to study ", "STUDY!"}) {
        SCOPED_TRACE(query);
        const std::vector<QString> words = Find(query);
        ASSERT_GE(words.size(), expectedHead.size());
        EXPECT_EQ(std::vector<QString>(words.begin(), words.begin() + 7), expectedHead);
    }
    // "studies" and "case study" only match through the full-text index.
    const std::vector<QString> words = Find("study");
    ASSERT_EQ(words.size(), 9u);
    EXPECT_THAT(std::vector<QString>(words.begin() + 7, words.end()),
                UnorderedElementsAre(S("案例研究"), S("功课")));
    // The limit keeps the best matches.
    EXPECT_THAT(Find("study", 3), ElementsAre(S("研究"), S("学"), S("学习")));
    EXPECT_THAT(Find("study", 5), ElementsAre(S("研究"), S("学"), S("学习"), S("书房"), S("研")));
    EXPECT_TRUE(Find("study", 0).empty());
    EXPECT_TRUE(Find("study", -1).empty());
}

// 漘 outweighs the uncounted 河岸 but is a rare character; 行 read hang2
// "row" does not take the count of 行, which is its reading xing2's.
TEST_F(RecordStoreTest, RareCharactersAndLesserReadingsNeverLeadCommonWords) {
    EXPECT_THAT(Find("bank"), ElementsAre(S("银行"), S("岸"), S("河岸"), S("漘")));
    EXPECT_THAT(Find("row"), ElementsAre(S("一排"), S("行")));
}

// Suggestions: glosses starting with the typed text as whole words, then
// those it ends inside a word of, each by weighed count; with few such
// glosses, entries holding the typed words.
TEST_F(RecordStoreTest, SuggestionsRankWholeWordsFirstThenByCount) {
    EXPECT_THAT(Suggest("stud", 5), ElementsAre(S("研究"), S("学生"), S("学"), S("学习"), S("书房")));
    // "studies" ends inside the typed word; "case study" only holds it.
    const std::vector<QString> study = Suggest("study");
    ASSERT_EQ(study.size(), 9u);
    EXPECT_EQ(std::vector<QString>(study.begin(), study.begin() + 4),
              std::vector<QString>({S("研究"), S("学"), S("学习"), S("书房")}));
    EXPECT_EQ(std::vector<QString>(study.end() - 2, study.end()),
              std::vector<QString>({S("功课"), S("案例研究")}));
    EXPECT_THAT(Suggest("To BAN"), ElementsAre(S("银行"), S("岸"), S("河岸"), S("漘")));
    EXPECT_THAT(Suggest("research stu"), UnorderedElementsAre(S("研究"), S("研")));
    EXPECT_THAT(Suggest("stud", 2), ElementsAre(S("研究"), S("学生")));
    for (const char* nothing : {"", "  ", "!?", "zebra", "stud zebra"})
        EXPECT_TRUE(Suggest(nothing).empty()) << nothing;
    EXPECT_TRUE(Suggest("stud", 0).empty());
}

TEST_F(RecordStoreTest, MatchCarriesEntryReadingAndEnglish) {
    const auto fields = [](const char* query) {
        QStringList out;
        for (const EnglishMatch& m : store_->englishMatches(S(query)))
            out << m.word << m.pinyin << m.english;
        return out;
    };
    EXPECT_EQ(fields("research").mid(0, 3),
              QStringList({S("研究"), "yan2 jiu1", "to study / to research / research"}));
    // A character found through its own meaning; readings " / " separated.
    EXPECT_EQ(fields("grind"), QStringList({S("研"), "yan2", "grind, rub / study, research"}));
    // The word entries, not the character's record; "middle" is an earlier
    // sense of zhong1 than of zhong4, which has fewer glosses.
    EXPECT_EQ(fields("middle"),
              QStringList({S("中"), "zhong1", "China / Chinese / middle / center / among", S("中"), "zhong4",
                           "to hit (the mark) / to be hit by / to suffer / middle"}));
    // 学 matches "learning" through its character meaning and, stemmed, through
    // its dictionary entry "to learn": one result, the dictionary entry.
    const QStringList learning = fields("learning");
    EXPECT_EQ(learning.count(S("学")), 1);
    EXPECT_EQ(learning.count(S("學")), 1);
    EXPECT_EQ(learning.value(learning.indexOf(S("学")) + 2), "to learn / to study / science / -ology");
    EXPECT_TRUE(learning.contains(S("学习")));
}

TEST_F(RecordStoreTest, HostileQueriesNeverBreakTheStore) {
    const QString invalidUtf8 = QString::fromUtf8("\xff\xfe study \xc3");
    const QString loneSurrogate = QString(QChar(0xD800)) + S("study") + QChar(0xDC00);
    QStringList queries = {S("study ").repeated(20000), invalidUtf8, loneSurrogate, S("学习"),
                           S("x").repeated(100000)};
    for (const char* syntax :
         {"\"", "'", "*", "study*", "(study", "study:", "-study", "^study", "\"study", "study AND",
          "OR study", "NEAR(study, 2)", "NOT", "english_fts:study", "'; DROP TABLE words; --"})
        queries.append(S(syntax));
    for (const QString& query : queries) {
        EXPECT_LE(store_->englishMatches(query).size(), 50u) << query.left(40).toStdString();
        EXPECT_LE(store_->englishPrefixMatches(query).size(), 10u) << query.left(40).toStdString();
    }
    // Queries that hold the word "study" among syntax characters still find it.
    for (const QString& query :
         {S("study*"), S("(study"), S("^study"), S("\"study"), invalidUtf8, loneSurrogate}) {
        const auto matches = store_->englishMatches(query);
        ASSERT_FALSE(matches.empty()) << query.toStdString();
        EXPECT_EQ(matches[0].word, S("研究")) << query.toStdString();
    }
    EXPECT_TRUE(store_->wordEntry(S("学习")));
}

TEST(EnglishGlossTest, NormalisedFormsCompareWholeGlosses) {
    // "(sth)": only brackets, so their words count.
    const std::pair<const char16_t*, const char*> cases[] = {{u"to study", "study"},
                                                             {u"  To STUDY  ", "study"},
                                                             {u"(literary) to study (math)", "study"},
                                                             {u"study, research", "study research"},
                                                             {u"to", "to"},
                                                             {u"tofu", "tofu"},
                                                             {u"(sth)", "sth"},
                                                             {u"a) b (c", "a b"},
                                                             {u"--", ""}};
    for (const auto& [gloss, normal] : cases)
        EXPECT_EQ(NormaliseGloss(gloss), normal);
    EXPECT_EQ(SplitGlosses(u" a / b; ; c/"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(EnglishWords(u"Café-au-lait, naïve!"), QStringList({S("café"), "au", "lait", S("naïve")}));
}

class RecordStoreFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QStringList entries() const {
        return QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
    void Write(const char* name, const QByteArray& bytes) {
        ASSERT_TRUE(quillory::testing::WriteFile(path(name), bytes));
    }
    // A store that is not open answers every look-up with "not found".
    static void ExpectClosed(const RecordStore& store) {
        EXPECT_FALSE(store.isOpen());
        EXPECT_FALSE(store.characterRecord(0x4E2D));
        EXPECT_FALSE(store.wordEntry(S("中")));
        EXPECT_TRUE(store.englishMatches(S("middle")).empty());
        EXPECT_TRUE(store.englishPrefixMatches(S("mid")).empty());
    }

    QTemporaryDir dir_;
};

TEST_F(RecordStoreFileTest, OpenFailsCleanlyOnMissingOrForeignFiles) {
    RecordStore store;
    EXPECT_FALSE(store.Open(path("missing.db")));
    EXPECT_FALSE(QFile::exists(path("missing.db"))); // read-only open creates nothing
    Write("garbage.db", QByteArray(8192, '\x5A'));
    Write("empty.db", QByteArray());
    Write("header.db", QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xFF'));
    for (const char* name : {"garbage.db", "empty.db", "header.db", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.Open(path(name))); // "": the folder itself
        ExpectClosed(store);
    }
}

// Opening a locked, damaged or foreign file fails with a message that says
// which; "cannot open to read or write" is kept for a file that is not there.
TEST_F(RecordStoreFileTest, OpenSaysWhyTheStoreIsUnusable) {
    const QString store = path("records.db");
    ASSERT_TRUE(WriteRecordStore(SmallSource(), store, nullptr));
    const auto copy = [&](const char* name) {
        EXPECT_TRUE(QFile::copy(store, path(name)));
        return path(name);
    };
    EXPECT_TRUE(quillory::testing::ZeroTablePages(copy("zeroed.db"), "characters"));
    ASSERT_TRUE(QFile::resize(copy("cut.db"), QFileInfo(store).size() / 2));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path("foreign.db")).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    const quillory::testing::StoreLock lock(copy("locked.db"));
    ASSERT_TRUE(lock.isLocked());
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"missing.db", "to read or write."},
                 {"zeroed.db", "is damaged"},
                 {"cut.db", "is damaged"},
                 {"foreign.db", "is no record store"},
                 {"locked.db", "another program holds it locked"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordStore reader;
        EXPECT_FALSE(reader.Open(path(c.name)));
        EXPECT_TRUE(reader.openError().contains(QString::fromUtf8(c.message)))
            << reader.openError().toStdString();
        EXPECT_TRUE(reader.openError().contains(path(c.name)));
        ExpectClosed(reader);
    }
}

// After a good open, an SQLite error (a lock taken later, a damaged table) is
// noted as a fault; the answers stay "not found" or what was read, and the
// store answers again once the lock is gone.
TEST_F(RecordStoreFileTest, ErrorsAfterOpeningAreFaultsNotMissingEntries) {
    const QString store = path("records.db");
    ASSERT_TRUE(WriteRecordStore(SmallSource(), store, nullptr));
    RecordingReporter reporter;
    DataFaults faults(&reporter);
    RecordStore reader;
    reader.setFaults(&faults);
    ASSERT_TRUE(reader.Open(store));
    {
        const quillory::testing::StoreLock lock(store);
        ASSERT_TRUE(lock.isLocked());
        EXPECT_FALSE(reader.characterRecord(0x4E2D));
        EXPECT_FALSE(reader.wordEntry(S("中文")));
        EXPECT_TRUE(reader.englishMatches(S("study")).empty());
        EXPECT_TRUE(reader.englishPrefixMatches(S("stud")).empty());
    }
    EXPECT_GE(faults.count(), 3);
    EXPECT_TRUE(faults.first().contains(QStringLiteral("locked")));
    ASSERT_EQ(reporter.messages.size(), 1); // once per session
    EXPECT_TRUE(reader.characterRecord(0x4E2D));
    EXPECT_TRUE(reader.wordEntry(S("中文")));
    const int before = faults.count();
    EXPECT_FALSE(reader.characterRecord(0x4E00)); // not there: no fault
    EXPECT_EQ(faults.count(), before);

    reader.Close();
    ASSERT_TRUE(quillory::testing::ZeroTablePages(store, "english_glosses"));
    ASSERT_TRUE(reader.Open(store));   // only the characters table is checked on open
    reader.englishMatches(S("study")); // the full-text index still gives a few
    EXPECT_GT(faults.count(), before);
}

TEST_F(RecordStoreFileTest, FailedWriteLeavesNothingAtThePath) {
    QString error;
    const QString inMissingFolder = path("no/such/folder/records.db");
    EXPECT_FALSE(WriteRecordStore(SmallSource(), inMissingFolder, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(inMissingFolder));

    // The target is a folder: the store is written, cannot be renamed over
    // it, and its temporary file is removed again.
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("records.db")));
    error.clear();
    EXPECT_FALSE(WriteRecordStore(SmallSource(), path("records.db"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(entries(), QStringList({"records.db"}));
    EXPECT_TRUE(QFileInfo(path("records.db")).isDir());
}

TEST_F(RecordStoreFileTest, WriteReplacesAnOlderOrEmptyStore) {
    const QString target = path("records.db");
    Write("records.db", "not a store");
    ASSERT_TRUE(WriteRecordStore(SmallSource(), target, nullptr));
    // Empty sources make an empty but valid store.
    RecordStoreStats stats;
    ASSERT_TRUE(WriteRecordStore(SourceData{}, target, nullptr, &stats));
    EXPECT_EQ(stats.characters + stats.words, 0);
    RecordStore store;
    ASSERT_TRUE(store.Open(target));
    EXPECT_FALSE(store.wordEntry(S("中")));
    EXPECT_TRUE(store.englishMatches(S("study")).empty());

    SourceData second;
    AddCharacter(second, 0x6587, {"wen2"}, {"man4"}, 4, "67.0", "writing");
    AddWord(second, "文", "文", "wen2", "man4", "language");
    ASSERT_TRUE(WriteRecordStore(second, target, nullptr));
    EXPECT_EQ(entries(), QStringList({"records.db"}));
    EXPECT_TRUE(QFileInfo(target).permissions().testFlag(QFileDevice::ReadOther));
    ASSERT_TRUE(store.Open(target));
    EXPECT_FALSE(store.characterRecord(0x4E2D));
    EXPECT_TRUE(store.wordEntry(S("文")));
    EXPECT_THAT(Words(store.englishMatches(S("writing"))), ElementsAre(S("文")));
    // Reopening another store drops the first one's answers.
    ASSERT_TRUE(store.Open(target));
    store.Close();
    EXPECT_FALSE(store.wordEntry(S("文")));
    ExpectClosed(store);
}

} // namespace
