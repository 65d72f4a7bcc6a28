// The record store: written by the data compiler from merged sources, read
// back by RecordStore (characters, words, English matches), and both sides'
// behaviour on bad files, failed writes and hostile queries.
#include "dictionary/records/RecordStore.h"
#include "datagen/writers/RecordStoreWriter.h"
#include "dictionary/records/EnglishGloss.h"
#include "tests/support/QtPrinters.h"

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

void AddCharacter(SourceData& data, std::uint32_t code, std::vector<std::string> pinyin,
                  std::vector<std::string> jyutping, int strokes, const char* radical, const char* definition,
                  int frequency = 0) {
    CharacterSource c;
    c.code = code;
    c.pinyin = std::move(pinyin);
    c.jyutping = std::move(jyutping);
    c.strokes = strokes;
    c.radical = S(radical);
    c.definition = S(definition);
    c.frequency = frequency;
    data.characters[code] = c;
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
    AddCharacter(d, 0x4E60, {"xi2"}, {"zaap6"}, 3, "5.2", "practice, exercise, review");
    d.characters[0x4E60].traditional = {0x7FD2};
    AddCharacter(d, 0x7FD2, {"xi2"}, {"zaap6"}, 11, "124.5", "", 1);
    d.characters[0x7FD2].simplified = {0x4E60};
    AddCharacter(d, 0x7814, {"yan2"}, {"jin4"}, 9, "112.4", "grind, rub; study, research", 2);
    AddCharacter(d, 0x7A76, {"jiu1"}, {"gau3"}, 7, "116.2", "examine, investigate", 2);
    AddCharacter(d, 0x6587, {"wen2"}, {"man4"}, 4, "67.0", "literature, culture, writing", 1);
    AddCharacter(d, 0x884C, {"xing2", "hang2"}, {"hang4", "hong4"}, 6, "144.0", "");
    d.characters[0x884C].cedictEnglish = S("to walk / row");
    AddCharacter(d, 0x4E1F, {"diu1"}, {"diu1"}, 6, "1.5", "lose, discard", 3);
    d.characters[0x4E1F].simplified = {0x20000, 0x4E22};
    AddCharacter(d, 0x4E59, {}, {}, 0, "", "");

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
    d.cedictHeader = S("# CC-CEDICT test header");
    d.radicalForms[S("2")] = {0x4E28};
    return d;
}

std::vector<QString> Words(const std::vector<EnglishMatch>& matches) {
    std::vector<QString> words;
    for (const EnglishMatch& m : matches) {
        words.push_back(m.word);
    }
    return words;
}

class RecordStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        path_ = new QString(dir_->filePath(QStringLiteral("records.db")));
        QString error;
        RecordStoreStats stats;
        ASSERT_TRUE(WriteRecordStore(SmallSource(), *path_, &error, &stats)) << error.toStdString();
        EXPECT_EQ(stats.characters, 11);
        EXPECT_EQ(stats.words, 15);
        EXPECT_EQ(stats.fileSize, QFileInfo(*path_).size());
        store_ = new RecordStore;
        ASSERT_TRUE(store_->Open(*path_));
    }
    static void TearDownTestSuite() {
        delete store_;
        delete path_;
        delete dir_;
    }

    static QTemporaryDir* dir_;
    static QString* path_;
    static RecordStore* store_;
};

QTemporaryDir* RecordStoreTest::dir_ = nullptr;
QString* RecordStoreTest::path_ = nullptr;
RecordStore* RecordStoreTest::store_ = nullptr;

TEST_F(RecordStoreTest, CharacterRecordHoldsEveryField) {
    const auto zhong = store_->characterRecord(0x4E2D);
    ASSERT_TRUE(zhong);
    EXPECT_EQ(zhong->code, 0x4E2Du);
    EXPECT_EQ(zhong->pinyin, "zhong1 zhong4");
    EXPECT_EQ(zhong->jyutping, "zung1 zung3");
    EXPECT_EQ(zhong->strokes, "4");
    EXPECT_EQ(zhong->radical, "2.3");
    EXPECT_EQ(zhong->field5, "1");
    EXPECT_EQ(zhong->field6, "3"); // 中 twice and 中文
    EXPECT_EQ(zhong->english, "central / center, middle / in the middle of / among");
    EXPECT_EQ(zhong->english2, "China / middle / to hit (the mark)");
    EXPECT_EQ(zhong->fanti, "");
    EXPECT_EQ(zhong->jianti, "");
    EXPECT_EQ(zhong->field10, S("zhōng zhòng"));
    EXPECT_EQ(zhong->field12, "4E28");
    EXPECT_EQ(zhong->field13, S("中文"));
}

TEST_F(RecordStoreTest, CharacterVariantsAndExamplesUseTheCharactersOwnForm) {
    const auto simplified = store_->characterRecord(0x5B66);
    const auto traditional = store_->characterRecord(0x5B78);
    ASSERT_TRUE(simplified && traditional);
    EXPECT_EQ(simplified->fanti, "5B78");
    EXPECT_EQ(simplified->jianti, "");
    EXPECT_EQ(traditional->jianti, "5B66");
    EXPECT_EQ(simplified->field13, S("学习 学生"));
    EXPECT_EQ(traditional->field13, S("學習 學生"));
    EXPECT_EQ(traditional->field6, "3");

    const auto diu = store_->characterRecord(0x4E1F);
    ASSERT_TRUE(diu);
    EXPECT_EQ(diu->jianti, "20000 4E22"); // variants above U+FFFF are kept
}

TEST_F(RecordStoreTest, CharacterWithoutDefinitionOrDataStaysBlank) {
    const auto xing = store_->characterRecord(0x884C);
    ASSERT_TRUE(xing);
    EXPECT_EQ(xing->english, "to walk / row"); // the dictionary's glosses stand in
    EXPECT_EQ(xing->english2, "to walk / row");
    EXPECT_EQ(xing->field5, "");
    EXPECT_EQ(xing->field13, S("银行"));

    const auto yi = store_->characterRecord(0x4E59);
    ASSERT_TRUE(yi);
    EXPECT_EQ(yi->pinyin, "");
    EXPECT_EQ(yi->strokes, "");
    EXPECT_EQ(yi->radical, "");
    EXPECT_EQ(yi->field6, "0");
    EXPECT_EQ(yi->field10, "");
    EXPECT_EQ(yi->field12, "");
    EXPECT_EQ(yi->english, "");

    EXPECT_FALSE(store_->characterRecord(0x4E00));
    EXPECT_FALSE(store_->characterRecord(0x20000));
    EXPECT_FALSE(store_->characterRecord(0xFFFFFFFF));
}

TEST_F(RecordStoreTest, WordFoundByEitherFormWithMergedEntries) {
    const auto simplified = store_->wordEntry(S("学习"));
    const auto traditional = store_->wordEntry(S("學習"));
    ASSERT_TRUE(simplified && traditional);
    EXPECT_EQ(simplified->word, S("学习"));
    EXPECT_EQ(traditional->word, S("學習"));
    for (const auto& entry : {*simplified, *traditional}) {
        EXPECT_EQ(entry.pinyin, "xue2 xi2");
        EXPECT_EQ(entry.jyutping, "hok6 zaap6");
        EXPECT_EQ(entry.english, "to learn / to study");
    }

    const auto zhong = store_->wordEntry(S("中"));
    ASSERT_TRUE(zhong);
    EXPECT_EQ(zhong->pinyin, "zhong1 / zhong4");
    EXPECT_EQ(zhong->jyutping, "zung1 / zung3");
    EXPECT_EQ(zhong->english,
              "China / Chinese / middle / center / among / to hit (the mark) / to be hit by / to suffer");

    const auto xing = store_->wordEntry(S("行"));
    ASSERT_TRUE(xing);
    EXPECT_EQ(xing->pinyin, "xing2 / hang2");
    EXPECT_EQ(xing->jyutping, "hang4 / hong4");
    EXPECT_EQ(xing->english, "to walk / to go / OK / row / line");

    const auto bank = store_->wordEntry(S(" 銀行\t"));
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->pinyin, "yin2 hang2");
    EXPECT_EQ(bank->jyutping, "");
}

TEST_F(RecordStoreTest, UnknownWordsAndEnglishAreNotFound) {
    // 文 is a character, but no dictionary word.
    for (const char* word : {"文", "学习中", "", "  ", "' OR 1=1 --"}) {
        EXPECT_FALSE(store_->wordEntry(S(word))) << word;
    }
    for (const char* query : {"zebra", "study zebra", "", " \t\n", "!?/;"}) {
        EXPECT_TRUE(store_->englishMatches(S(query)).empty()) << query;
    }
}

TEST_F(RecordStoreTest, StudyRanksWholeGlossesThenPrefixesThenOtherMatches) {
    const std::vector<QString> expectedHead = {
        S("学"), S("学习"), S("研究"), S("书房"), // whole glosses: common and short first
        S("研"), S("自习"), S("攻读"),            // glosses starting with "study"
    };
    for (const char* query : {"study", "Study", "  to study ", "STUDY!"}) {
        SCOPED_TRACE(query);
        const std::vector<QString> words = Words(store_->englishMatches(S(query)));
        ASSERT_GE(words.size(), expectedHead.size());
        EXPECT_EQ(std::vector<QString>(words.begin(), words.begin() + 7), expectedHead);
    }
    // "studies" and "case study" only match through the full-text index.
    const std::vector<QString> words = Words(store_->englishMatches(S("study")));
    ASSERT_EQ(words.size(), 9u);
    EXPECT_THAT(std::vector<QString>(words.begin() + 7, words.end()),
                UnorderedElementsAre(S("案例研究"), S("功课")));
}

TEST_F(RecordStoreTest, MatchCarriesEntryReadingAndEnglish) {
    const auto matches = store_->englishMatches(S("research"), 50);
    ASSERT_FALSE(matches.empty());
    EXPECT_EQ(matches[0].word, S("研究"));
    EXPECT_EQ(matches[0].pinyin, "yan2 jiu1");
    EXPECT_EQ(matches[0].english, "to study / to research / research");

    // A character found through its own meaning; readings " / " separated.
    const auto grind = store_->englishMatches(S("grind"));
    ASSERT_EQ(grind.size(), 1u);
    EXPECT_EQ(grind[0].word, S("研"));
    EXPECT_EQ(grind[0].pinyin, "yan2");
    EXPECT_EQ(grind[0].english, "grind, rub / study, research");

    const auto middle = store_->englishMatches(S("middle"));
    EXPECT_THAT(Words(middle), ElementsAre(S("中"), S("中")));
    ASSERT_EQ(middle.size(), 2u);
    // The word entries, not the character's record; "middle" is an earlier
    // sense of zhong1 than of zhong4, which has fewer glosses.
    EXPECT_EQ(middle[0].pinyin, "zhong1");
    EXPECT_EQ(middle[1].pinyin, "zhong4");
}

TEST_F(RecordStoreTest, CharacterAndWordOfTheSameTextAppearOnce) {
    // 学 matches "learning" through its character meaning and, stemmed, through
    // its dictionary entry "to learn": one result, the dictionary entry.
    const auto matches = store_->englishMatches(S("learning"));
    const std::vector<QString> words = Words(matches);
    EXPECT_EQ(std::count(words.begin(), words.end(), S("学")), 1);
    EXPECT_EQ(std::count(words.begin(), words.end(), S("學")), 1);
    for (const EnglishMatch& m : matches) {
        if (m.word == S("学")) {
            EXPECT_EQ(m.english, "to learn / to study / science / -ology");
        }
    }
    EXPECT_THAT(words, ::testing::Contains(S("学习")));
}

TEST_F(RecordStoreTest, LimitKeepsTheBestMatches) {
    EXPECT_THAT(Words(store_->englishMatches(S("study"), 3)), ElementsAre(S("学"), S("学习"), S("研究")));
    EXPECT_THAT(Words(store_->englishMatches(S("study"), 5)),
                ElementsAre(S("学"), S("学习"), S("研究"), S("书房"), S("研")));
    EXPECT_TRUE(store_->englishMatches(S("study"), 0).empty());
    EXPECT_TRUE(store_->englishMatches(S("study"), -1).empty());
}

TEST_F(RecordStoreTest, HostileQueriesNeverBreakTheStore) {
    QString huge;
    for (int i = 0; i < 20000; ++i) {
        huge += QStringLiteral("study ");
    }
    const QString invalidUtf8 = QString::fromUtf8("\xff\xfe study \xc3");
    const QString loneSurrogate = QString(QChar(0xD800)) + S("study") + QChar(0xDC00);
    QStringList queries = {huge, invalidUtf8, loneSurrogate, S("学习"), S("x").repeated(100000)};
    for (const char* syntax :
         {"\"", "'", "*", "study*", "(study", "study:", "-study", "^study", "\"study", "study AND",
          "OR study", "NEAR(study, 2)", "NOT", "english_fts:study", "'; DROP TABLE words; --"}) {
        queries.append(S(syntax));
    }
    for (const QString& query : queries) {
        SCOPED_TRACE(query.left(40).toStdString());
        const auto matches = store_->englishMatches(query);
        EXPECT_LE(matches.size(), 50u);
    }
    // Queries that hold the word "study" among syntax characters still find it.
    for (const QString& query :
         {S("study*"), S("(study"), S("^study"), S("\"study"), invalidUtf8, loneSurrogate}) {
        SCOPED_TRACE(query.toStdString());
        const auto matches = store_->englishMatches(query);
        ASSERT_FALSE(matches.empty());
        EXPECT_EQ(matches[0].word, S("学"));
    }
    EXPECT_TRUE(store_->wordEntry(S("学习")));
}

TEST(EnglishGlossTest, NormalisedFormsCompareWholeGlosses) {
    EXPECT_EQ(NormaliseGloss(u"to study"), "study");
    EXPECT_EQ(NormaliseGloss(u"  To STUDY  "), "study");
    EXPECT_EQ(NormaliseGloss(u"(literary) to study (math)"), "study");
    EXPECT_EQ(NormaliseGloss(u"study, research"), "study research");
    EXPECT_EQ(NormaliseGloss(u"to"), "to");
    EXPECT_EQ(NormaliseGloss(u"tofu"), "tofu");
    EXPECT_EQ(NormaliseGloss(u"(sth)"), "sth"); // only brackets: their words
    EXPECT_EQ(NormaliseGloss(u"a) b (c"), "a b");
    EXPECT_EQ(NormaliseGloss(u"--"), "");
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

    QTemporaryDir dir_;
};

TEST_F(RecordStoreFileTest, OpenFailsCleanlyOnMissingOrForeignFiles) {
    RecordStore store;
    EXPECT_FALSE(store.Open(path("missing.db")));
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(QFile::exists(path("missing.db"))); // read-only open creates nothing

    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    write("garbage.db", QByteArray(8192, '\x5A'));
    write("empty.db", QByteArray());
    write("header.db", QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xFF'));
    for (const char* name : {"garbage.db", "empty.db", "header.db"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.Open(path(name)));
        EXPECT_FALSE(store.isOpen());
    }
    EXPECT_FALSE(store.Open(dir_.path()));

    // A closed store answers every look-up with "not found".
    EXPECT_FALSE(store.characterRecord(0x4E2D));
    EXPECT_FALSE(store.wordEntry(S("中")));
    EXPECT_TRUE(store.englishMatches(S("middle")).empty());
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

TEST_F(RecordStoreFileTest, WriteReplacesAnOlderStore) {
    const QString target = path("records.db");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a store");
    }
    SourceData first = SmallSource();
    ASSERT_TRUE(WriteRecordStore(first, target, nullptr));
    SourceData second;
    AddCharacter(second, 0x6587, {"wen2"}, {"man4"}, 4, "67.0", "writing");
    AddWord(second, "文", "文", "wen2", "man4", "language");
    ASSERT_TRUE(WriteRecordStore(second, target, nullptr));
    EXPECT_EQ(entries(), QStringList({"records.db"}));
    EXPECT_TRUE(QFileInfo(target).permissions().testFlag(QFileDevice::ReadOther));

    RecordStore store;
    ASSERT_TRUE(store.Open(target));
    EXPECT_FALSE(store.characterRecord(0x4E2D));
    EXPECT_TRUE(store.wordEntry(S("文")));
    EXPECT_THAT(Words(store.englishMatches(S("writing"))), ElementsAre(S("文")));
    // Reopening another store drops the first one's answers.
    ASSERT_TRUE(store.Open(target));
    store.Close();
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.wordEntry(S("文")));
}

TEST_F(RecordStoreFileTest, EmptySourcesMakeAnEmptyButValidStore) {
    RecordStoreStats stats;
    ASSERT_TRUE(WriteRecordStore(SourceData{}, path("empty.db"), nullptr, &stats));
    EXPECT_EQ(stats.characters, 0);
    EXPECT_EQ(stats.words, 0);
    RecordStore store;
    ASSERT_TRUE(store.Open(path("empty.db")));
    EXPECT_FALSE(store.wordEntry(S("中")));
    EXPECT_TRUE(store.englishMatches(S("study")).empty());
}

} // namespace
