// The data compiler's source readers: Unihan, CC-CEDICT, the radical list,
// bzip2 input and the to-jyutping annotator.
#include "datagen/sources/Bzip2.h"
#include "datagen/sources/CedictReader.h"
#include "datagen/sources/JyutpingAnnotator.h"
#include "datagen/sources/RadicalFormsReader.h"
#include "datagen/sources/UnihanReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <bzlib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Strings = std::vector<std::string>;

const QString kDataDir = QStringLiteral(QUILLORY_TEST_DATA_DIR);
const QString kUnihanDir = kDataDir + QStringLiteral("/unihan");
const QString kToJyutping = QStringLiteral(QUILLORY_NPM_DIR "/to-jyutping/package");

QByteArray Compress(const QByteArray& data) {
    QByteArray out(data.size() + data.size() / 100 + 700, '\0');
    unsigned size = static_cast<unsigned>(out.size());
    EXPECT_EQ(BZ2_bzBuffToBuffCompress(out.data(), &size, const_cast<char*>(data.constData()),
                                       static_cast<unsigned>(data.size()), 9, 0, 0),
              BZ_OK);
    out.truncate(size);
    return out;
}

bool WriteFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ---- Pinyin from Unihan -------------------------------------------------

TEST(PinyinToToneDigits, ConvertsToneMarksToDigits) {
    EXPECT_EQ(PinyinToToneDigits(u"zhōng"), "zhong1");
    EXPECT_EQ(PinyinToToneDigits(u"xíng"), "xing2");
    EXPECT_EQ(PinyinToToneDigits(u"wǔ"), "wu3");
    EXPECT_EQ(PinyinToToneDigits(u"zhòng"), "zhong4");
    EXPECT_EQ(PinyinToToneDigits(u"de"), "de5");
}

TEST(PinyinToToneDigits, WritesUmlautAsVAndLowersCase) {
    EXPECT_EQ(PinyinToToneDigits(u"lǜ"), "lv4");
    EXPECT_EQ(PinyinToToneDigits(u"nü"), "nv5");
    EXPECT_EQ(PinyinToToneDigits(u"Nǚ"), "nv3");
    EXPECT_EQ(PinyinToToneDigits(u"ZHŌNG"), "zhong1");
    // Decomposed input is read the same as precomposed input.
    EXPECT_EQ(PinyinToToneDigits(u"lu\u0308\u0300"), "lv4");
}

TEST(PinyinToToneDigits, HandlesSyllabicNasalsAndEWithCircumflex) {
    EXPECT_EQ(PinyinToToneDigits(u"ńg"), "ng2");
    EXPECT_EQ(PinyinToToneDigits(u"ḿ"), "m2");
    EXPECT_EQ(PinyinToToneDigits(u"ế"), "\u00ea"
                                        "2");
    EXPECT_EQ(PinyinToToneDigits(u"ê̄"), "\u00ea"
                                        "1");
}

TEST(PinyinToToneDigits, RejectsWhatIsNoSyllable) {
    EXPECT_EQ(PinyinToToneDigits(u""), "");
    EXPECT_EQ(PinyinToToneDigits(u"zhong1"), "");
    EXPECT_EQ(PinyinToToneDigits(u"zhō ng"), "");
    EXPECT_EQ(PinyinToToneDigits(u"\u0304a"), ""); // a mark before any letter
    EXPECT_EQ(PinyinToToneDigits(u"ǎà"), "");      // two tones
    EXPECT_EQ(PinyinToToneDigits(u"中"), "");
}

TEST(SplitPinyinField, ReadsEveryUnihanForm) {
    const auto strings = [](std::vector<QString> list) {
        QStringList out;
        for (const QString& s : list)
            out << s;
        return out.join(u'|');
    };
    EXPECT_EQ(strings(SplitPinyinField(u"zhōng zhòng")), u"zhōng|zhòng");
    EXPECT_EQ(strings(SplitPinyinField(u"10028.100:zhōng,zhòng")), u"zhōng|zhòng");
    EXPECT_EQ(strings(SplitPinyinField(u"1494.100:zhōng 1501.040:zhòng")), u"zhōng|zhòng");
    EXPECT_EQ(strings(SplitPinyinField(u"092.080,092.090:fàn")), u"fàn");
    EXPECT_EQ(strings(SplitPinyinField(u"10019.020*:tiàn,tián 10020.030:tiàn")), u"tiàn|tián|tiàn");
    EXPECT_TRUE(SplitPinyinField(u"").empty());
}

TEST(NormaliseRadicalStroke, KeepsTheFirstValueWithOneAsciiApostrophe) {
    EXPECT_EQ(NormaliseRadicalStroke(u"2.3"), u"2.3");
    EXPECT_EQ(NormaliseRadicalStroke(u"109.7 123.5"), u"109.7");
    EXPECT_EQ(NormaliseRadicalStroke(u"168'.0"), u"168'.0");
    EXPECT_EQ(NormaliseRadicalStroke(u"168\u2019.0"), u"168'.0");
    EXPECT_EQ(NormaliseRadicalStroke(u"120''.2"), u"120'.2");
    EXPECT_EQ(NormaliseRadicalStroke(u"96.-1"), u"96.-1");
}

TEST(NormaliseRadicalStroke, RejectsMalformedValues) {
    EXPECT_EQ(NormaliseRadicalStroke(u""), u"");
    EXPECT_EQ(NormaliseRadicalStroke(u".3"), u"");
    EXPECT_EQ(NormaliseRadicalStroke(u"12."), u"");
    EXPECT_EQ(NormaliseRadicalStroke(u"'12.3"), u"");
    EXPECT_EQ(NormaliseRadicalStroke(u"12.x"), u"");
}

TEST(ParseVariantList, DropsTheCharacterItselfAndRepeats) {
    EXPECT_THAT(ParseVariantList(u"U+7BC4 U+8303", 0x8303), ElementsAre(0x7BC4u));
    EXPECT_THAT(ParseVariantList(u"U+8303", 0x8303), IsEmpty());
    EXPECT_THAT(ParseVariantList(u"U+5B78<kMatthews U+5B78 U+2A6A5", 0x5B66), ElementsAre(0x5B78u, 0x2A6A5u));
    EXPECT_THAT(ParseVariantList(u"5B78 U+ U+ZZZZ", 0x5B66), IsEmpty());
}

// ---- Unihan files -------------------------------------------------------

class UnihanFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        source_ = new SourceData;
        QString error;
        ok_ = ReadUnihan(kUnihanDir, *source_, &error);
        error_ = new QString(error);
    }
    static void TearDownTestSuite() {
        delete source_;
        delete error_;
    }
    static const CharacterSource& Character(char32_t code) {
        static const CharacterSource none;
        const auto it = source_->characters.find(code);
        return it == source_->characters.end() ? none : it->second;
    }
    static SourceData* source_;
    static QString* error_;
    static bool ok_;
};
SourceData* UnihanFiles::source_ = nullptr;
QString* UnihanFiles::error_ = nullptr;
bool UnihanFiles::ok_ = false;

TEST_F(UnihanFiles, ReadsOnlyTheIdeographRange) {
    ASSERT_TRUE(ok_) << error_->toStdString();
    EXPECT_EQ(source_->characters.size(), 55u);
    for (const auto& [code, character] : source_->characters) {
        EXPECT_TRUE(IsDictionaryIdeograph(code));
        EXPECT_EQ(character.code, code);
    }
}

TEST_F(UnihanFiles, MergesMandarinReadingsInFieldOrderWithoutRepeats) {
    EXPECT_EQ(Character(U'中').pinyin, (Strings{"zhong1", "zhong4"}));
    // kMandarin xíng first, then kTGHZ2013, kXHC1983 and kHanyuPinyin additions.
    EXPECT_EQ(Character(U'行').pinyin, (Strings{"xing2", "hang2", "heng2", "hang4", "xing4"}));
    EXPECT_EQ(Character(U'长').pinyin, (Strings{"zhang3", "chang2"}));
    EXPECT_EQ(Character(U'女').pinyin.front(), "nv3");
    EXPECT_EQ(Character(U'嗯').pinyin.front(), "n2");
}

TEST_F(UnihanFiles, TakesCantoneseDefinitionAndFrequency) {
    EXPECT_EQ(Character(U'中').jyutping, (Strings{"zung1"}));
    EXPECT_EQ(Character(U'行').jyutping, (Strings{"hang4"}));
    EXPECT_EQ(Character(U'五').jyutping, (Strings{"ng5"}));
    EXPECT_THAT(Character(U'中').definition.toStdString(), HasSubstr("middle"));
    EXPECT_EQ(Character(U'中').frequency, 1);
    EXPECT_EQ(Character(U'范').frequency, 5);
}

TEST_F(UnihanFiles, TakesFirstStrokeCountAndRadical) {
    EXPECT_EQ(Character(U'范').strokes, 8);        // "8 9"
    EXPECT_EQ(Character(U'着').radical, u"109.7"); // "109.7 123.5"
    EXPECT_EQ(Character(U'中').radical, u"2.3");
    EXPECT_EQ(Character(U'中').strokes, 4);
    EXPECT_EQ(Character(U'长').radical, u"168'.0");
    EXPECT_EQ(Character(U'纠').radical, u"120'.2");
    EXPECT_EQ(Character(U'王').radical, u"96.-1");
}

TEST_F(UnihanFiles, ReadsVariantsWithoutTheCharacterItself) {
    EXPECT_THAT(Character(U'长').traditional, ElementsAre(0x9577u));
    EXPECT_THAT(Character(U'長').simplified, ElementsAre(0x957Fu));
    EXPECT_THAT(Character(U'范').simplified, IsEmpty());
    EXPECT_THAT(Character(U'范').traditional, ElementsAre(0x7BC4u));
    EXPECT_THAT(Character(U'着').traditional, ElementsAre(0x8457u));
}

TEST(ReadUnihan, ReadsCompressedFilesLikePlainOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const QString& name : QDir(kUnihanDir).entryList({QStringLiteral("Unihan_*.txt")}))
        ASSERT_TRUE(WriteFile(dir.filePath(name + QStringLiteral(".bz2")),
                              Compress(ReadFile(QDir(kUnihanDir).filePath(name)))));
    SourceData compressed, plain;
    QString error;
    ASSERT_TRUE(ReadUnihan(dir.path(), compressed, &error)) << error.toStdString();
    ASSERT_TRUE(ReadUnihan(kUnihanDir, plain, &error));
    ASSERT_EQ(compressed.characters.size(), plain.characters.size());
    EXPECT_EQ(compressed.characters.at(U'行').pinyin, plain.characters.at(U'行').pinyin);
    EXPECT_EQ(compressed.characters.at(U'长').radical, plain.characters.at(U'长').radical);
}

TEST(ReadUnihan, FailsOnAMissingFileOrFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SourceData source;
    QString error;
    EXPECT_FALSE(ReadUnihan(dir.filePath(QStringLiteral("absent")), source, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("Unihan_Readings.txt"));

    ASSERT_TRUE(QFile::copy(kUnihanDir + QStringLiteral("/Unihan_Readings.txt"),
                            dir.filePath(QStringLiteral("Unihan_Readings.txt"))));
    error.clear();
    EXPECT_FALSE(ReadUnihan(dir.path(), source, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("Unihan_DictionaryLikeData.txt"));
}

// ---- bzip2 --------------------------------------------------------------

TEST(Bzip2, ReadsConcatenatedStreams) {
    const QByteArray first(100000, 'a');
    const QByteArray second = QByteArrayLiteral("U+4E2D\tkMandarin\tzh\xC5\x8Dng\n");
    QByteArray out;
    QString error;
    ASSERT_TRUE(DecompressBzip2(Compress(first) + Compress(second), &out, &error)) << error.toStdString();
    EXPECT_EQ(out, first + second);
}

TEST(Bzip2, ReportsTruncatedAndCorruptData) {
    const QByteArray packed = Compress(QByteArray(5000, 'x') + QByteArray("tail"));
    QByteArray out;
    QString error;
    EXPECT_FALSE(DecompressBzip2(packed.left(packed.size() / 2), &out, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("truncated"));
    QByteArray corrupt = packed;
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x55);
    EXPECT_FALSE(DecompressBzip2(corrupt, &out, &error));
    EXPECT_FALSE(DecompressBzip2(QByteArray(), &out, &error));
}

TEST(Bzip2, PassesPlainFilesThroughAndFindsEitherName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("a.txt")), "plain"));
    ASSERT_TRUE(WriteFile(dir.filePath(QStringLiteral("b.txt.bz2")), Compress("packed")));
    QByteArray content;
    QString error;
    ASSERT_TRUE(ReadSourceFile(FindSourceFile(dir.path(), QStringLiteral("a.txt")), &content, &error));
    EXPECT_EQ(content, "plain");
    ASSERT_TRUE(ReadSourceFile(FindSourceFile(dir.path(), QStringLiteral("b.txt")), &content, &error));
    EXPECT_EQ(content, "packed");
    EXPECT_TRUE(FindSourceFile(dir.path(), QStringLiteral("c.txt")).isEmpty());
    EXPECT_FALSE(ReadSourceFile(dir.filePath(QStringLiteral("c.txt")), &content, &error));
}

// ---- CC-CEDICT ----------------------------------------------------------

TEST(ParseCedictLine, ReadsHeadwordsPinyinAndGlosses) {
    WordSource word;
    ASSERT_TRUE(ParseCedictLine(u"銀行 银行 [yin2 hang2] /bank/CL:家[jia1],個|个[ge4]/", &word));
    EXPECT_EQ(word.traditional, u"銀行");
    EXPECT_EQ(word.simplified, u"银行");
    EXPECT_EQ(word.pinyin, u"yin2 hang2");
    EXPECT_EQ(word.english, u"bank / CL:家[jia1],個|个[ge4]");
    EXPECT_TRUE(word.jyutping.isEmpty());
}

TEST(ParseCedictLine, NormalisesPinyin) {
    WordSource word;
    ASSERT_TRUE(ParseCedictLine(u"中國 中国 [Zhong1 guo2] /China/", &word));
    EXPECT_EQ(word.pinyin, u"zhong1 guo2");
    ASSERT_TRUE(ParseCedictLine(u"紅男綠女 红男绿女 [hong2 nan2 lu:4 nu:3] /young people/", &word));
    EXPECT_EQ(word.pinyin, u"hong2 nan2 lv4 nv3");
    ASSERT_TRUE(ParseCedictLine(u"呂 吕 [Lu:3] /surname Lü/", &word));
    EXPECT_EQ(word.pinyin, u"lv3");
    ASSERT_TRUE(ParseCedictLine(u"一下兒 一下儿 [yi1 xia4 r5] /erhua form of 一下[yi1 xia4]/", &word));
    EXPECT_EQ(word.pinyin, u"yi1 xia4 er5");
}

TEST(ParseCedictLine, KeepsLiteralTokens) {
    WordSource word;
    ASSERT_TRUE(ParseCedictLine(u"3C 3C [san1 C] /computers/", &word));
    EXPECT_EQ(word.pinyin, u"san1 C");
    ASSERT_TRUE(ParseCedictLine(u"11區 11区 [11 Qu1] /Japan/", &word));
    EXPECT_EQ(word.pinyin, u"11 qu1");
    ASSERT_TRUE(ParseCedictLine(u"卡拉OK 卡拉OK [ka3 la1 O K] /karaoke/", &word));
    EXPECT_EQ(word.pinyin, u"ka3 la1 O K");
    ASSERT_TRUE(ParseCedictLine(u"亞當·斯密 亚当·斯密 [Ya4 dang1 · Si1 mi4] /Adam Smith/", &word));
    EXPECT_EQ(word.pinyin, u"ya4 dang1 · si1 mi4");
    ASSERT_TRUE(
        ParseCedictLine(u"一不做，二不休 一不做，二不休 [yi1 bu4 zuo4 , er4 bu4 xiu1] /idiom/", &word));
    EXPECT_EQ(word.pinyin, u"yi1 bu4 zuo4 , er4 bu4 xiu1");
    ASSERT_TRUE(ParseCedictLine(u"々 々 [xx5] /iteration mark/", &word));
    EXPECT_EQ(word.pinyin, u"xx5");
}

TEST(ParseCedictLine, SkipsMalformedLines) {
    WordSource word;
    EXPECT_FALSE(ParseCedictLine(u"", &word));
    EXPECT_FALSE(ParseCedictLine(u"# CC-CEDICT", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 中 zhong1 /middle/", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 中 [zhong1 /middle/", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 中 [zhong1] middle", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 中 [zhong1] /middle", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 [zhong1] /middle/", &word));
    EXPECT_FALSE(ParseCedictLine(u"中 中 [zhong1] //", &word));
}

TEST(AddCedictText, KeepsHeaderAndMergesSingleCharacters) {
    SourceData source;
    CharacterSource& zhong = source.characters[U'中'];
    zhong.code = U'中';
    zhong.pinyin = {"zhong1"};
    AddCedictText(u"# CC-CEDICT\n#! license=cc-by-sa\n"
                  u"中 中 [Zhong1] /China/surname Zhong/\n"
                  u"中 中 [zhong4] /to hit/\n"
                  u"not an entry\n"
                  u"# a comment later on\n"
                  u"兒 儿 [er2] /child/\n"
                  u"兒 儿 [r5] /suffix/child/\n"
                  u"中國 中国 [Zhong1 guo2] /China/\n",
                  source);
    EXPECT_EQ(source.cedictHeader, u"# CC-CEDICT\n#! license=cc-by-sa");
    ASSERT_EQ(source.words.size(), 5u);
    EXPECT_EQ(source.words.back().simplified, u"中国");
    EXPECT_EQ(zhong.pinyin, (Strings{"zhong1", "zhong4"}));
    EXPECT_EQ(zhong.cedictEnglish, u"China / surname Zhong / to hit");
    // Both headword forms get the entry; repeated glosses are kept once.
    EXPECT_EQ(source.characters.at(U'儿').pinyin, (Strings{"er2", "er5"}));
    EXPECT_EQ(source.characters.at(U'兒').pinyin, (Strings{"er2", "er5"}));
    EXPECT_EQ(source.characters.at(U'儿').cedictEnglish, u"child / suffix");
    EXPECT_EQ(source.characters.count(U'国'), 0u);
}

TEST(ReadCedict, ReadsTheTextOfAJavaScriptModule) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray plain = ReadFile(kDataDir + QStringLiteral("/cedict_ts.u8"));
    ASSERT_FALSE(plain.isEmpty());
    const QString js = dir.filePath(QStringLiteral("cedict_ts.u8.js"));
    ASSERT_TRUE(WriteFile(js, "module.exports = `" + plain + "`;\n"));

    SourceData fromJs, fromPlain;
    QString error;
    CedictStats stats;
    ASSERT_TRUE(ReadCedict(js, fromJs, &error, &stats)) << error.toStdString();
    ASSERT_TRUE(ReadCedict(kDataDir + QStringLiteral("/cedict_ts.u8"), fromPlain, &error));
    EXPECT_EQ(fromJs.words.size(), fromPlain.words.size());
    EXPECT_EQ(stats.entries, static_cast<int>(fromJs.words.size()));
    EXPECT_EQ(stats.skippedLines, 0);
    EXPECT_TRUE(fromJs.cedictHeader.startsWith(u"# CC-CEDICT"));
    EXPECT_TRUE(fromJs.cedictHeader.contains(u"creativecommons.org"));
    EXPECT_EQ(fromJs.characters.at(U'行').pinyin, (Strings{"hang2", "heng2", "xing2"}));

    const QString broken = dir.filePath(QStringLiteral("broken.js"));
    ASSERT_TRUE(WriteFile(broken, "module.exports = 'no text';\n"));
    EXPECT_FALSE(ReadCedict(broken, fromJs, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("backticks"));
}

// ---- radical forms --------------------------------------------------------

TEST(RadicalForms, ReadsKeysAndForms) {
    SourceData source;
    EXPECT_TRUE(AddRadicalFormsLine(u"120'; 2EB0; 7E9F", source));
    EXPECT_TRUE(AddRadicalFormsLine(u"2; 2F01; 4E28\r", source));
    EXPECT_TRUE(AddRadicalFormsLine(u"999; ; 4E00", source));
    EXPECT_FALSE(AddRadicalFormsLine(u"# 1; 2F00; 4E00", source));
    EXPECT_FALSE(AddRadicalFormsLine(u"", source));
    EXPECT_FALSE(AddRadicalFormsLine(u"x; 2F00; 4E00", source));
    EXPECT_FALSE(AddRadicalFormsLine(u"5; 2F0Z; 4E00", source));
    EXPECT_THAT(source.radicalForms.at(QStringLiteral("120'")), ElementsAre(0x2EB0u, 0x7E9Fu));
    EXPECT_THAT(source.radicalForms.at(QStringLiteral("2")), ElementsAre(0x2F01u, 0x4E28u));
    EXPECT_THAT(source.radicalForms.at(QStringLiteral("999")), ElementsAre(0x4E00u));
    EXPECT_EQ(source.radicalForms.size(), 3u);
}

TEST(RadicalForms, ReadsTheFile) {
    SourceData source;
    QString error;
    ASSERT_TRUE(ReadRadicalForms(kDataDir + QStringLiteral("/CJKRadicals.txt"), source, &error))
        << error.toStdString();
    EXPECT_THAT(source.radicalForms.at(QStringLiteral("168'")), ElementsAre(0x2ED3u, 0x957Fu));
    EXPECT_THAT(source.radicalForms.at(QStringLiteral("168")), ElementsAre(0x2FA7u, 0x9577u));
    EXPECT_EQ(source.radicalForms.count(QStringLiteral("12")), 1u);
    EXPECT_FALSE(ReadRadicalForms(kDataDir + QStringLiteral("/absent.txt"), source, &error));
}

// ---- to-jyutping ----------------------------------------------------------

TEST(QueryJyutping, ReadsWordsAndCandidates) {
    JyutpingTool tool;
    tool.moduleDir = kToJyutping;
    JyutpingQueries queries;
    queries.texts = {QStringLiteral("銀行"), QStringLiteral("中國"), QStringLiteral("3C"), QString()};
    queries.characters = {QStringLiteral("行"), QStringLiteral("五")};
    JyutpingAnswers answers;
    QString error;
    ASSERT_TRUE(QueryJyutping(tool, queries, &answers, &error)) << error.toStdString();
    ASSERT_EQ(answers.texts.size(), 4);
    EXPECT_EQ(answers.texts[0], u"ngan4 hong4");
    EXPECT_EQ(answers.texts[1], u"zung1 gwok3");
    EXPECT_FALSE(answers.texts[2].contains(u'C')); // letters without a reading are left out
    EXPECT_EQ(answers.texts[3], u"");
    ASSERT_EQ(answers.characters.size(), 2);
    const QStringList hang = answers.characters[0].split(u' ');
    EXPECT_TRUE(hang.contains(u"hang4"));
    EXPECT_TRUE(hang.contains(u"hong4"));
    EXPECT_TRUE(answers.characters[1].split(u' ').contains(u"ng5"));
}

TEST(QueryJyutping, FailsClearlyWithoutNodeOrModule) {
    JyutpingQueries queries;
    queries.texts = {QStringLiteral("中")};
    JyutpingAnswers answers;
    QString error;

    JyutpingTool noModule;
    noModule.moduleDir = kDataDir + QStringLiteral("/absent-package");
    EXPECT_FALSE(QueryJyutping(noModule, queries, &answers, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("to-jyutping module was not found"));

    JyutpingTool noNode;
    noNode.moduleDir = kToJyutping;
    noNode.node = QStringLiteral("/nonexistent/bin/node");
    EXPECT_FALSE(QueryJyutping(noNode, queries, &answers, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("node"));

    // A file that is no module makes node fail: its message is passed on.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bogus = dir.filePath(QStringLiteral("index.cjs"));
    ASSERT_TRUE(WriteFile(bogus, "this is not javascript("));
    JyutpingTool badModule;
    badModule.moduleDir = bogus;
    EXPECT_FALSE(QueryJyutping(badModule, queries, &answers, &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("cannot load"));
}

TEST(AnnotateJyutping, FillsWordsAndAppendsCandidatesAfterCantonese) {
    SourceData source;
    CharacterSource& hang = source.characters[U'行'];
    hang.code = U'行';
    hang.jyutping = {"hang4"};
    source.words.push_back(
        {QStringLiteral("銀行"), QStringLiteral("银行"), QStringLiteral("yin2 hang2"), {}, {}});
    source.words.push_back({QStringLiteral("行"), QStringLiteral("行"), QStringLiteral("xing2"), {}, {}});
    source.words.push_back({QStringLiteral("行"), QStringLiteral("行"), QStringLiteral("hang2"), {}, {}});
    JyutpingTool tool;
    tool.moduleDir = kToJyutping;
    QString error;
    JyutpingStats stats;
    ASSERT_TRUE(AnnotateJyutping(tool, source, &error, &stats)) << error.toStdString();
    EXPECT_EQ(source.words[0].jyutping, u"ngan4 hong4");
    EXPECT_FALSE(source.words[1].jyutping.isEmpty());
    EXPECT_EQ(source.words[1].jyutping, source.words[2].jyutping);
    EXPECT_EQ(stats.wordsRead, 3);
    ASSERT_GE(hang.jyutping.size(), 3u);
    EXPECT_EQ(hang.jyutping.front(), "hang4");
    EXPECT_EQ(std::count(hang.jyutping.begin(), hang.jyutping.end(), "hang4"), 1);
    EXPECT_NE(std::find(hang.jyutping.begin(), hang.jyutping.end(), "hong4"), hang.jyutping.end());
    EXPECT_EQ(stats.candidatesAdded, static_cast<int>(hang.jyutping.size()) - 1);
}

} // namespace
} // namespace quillory::datagen
