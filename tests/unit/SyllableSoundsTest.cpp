// The sound step of the data build: which syllables are recorded, and that
// the index lists exactly the recorded ones.
#include "datagen/sounds/SyllableSounds.h"
#include "datagen/DataCompiler.h"
#include "datagen/writers/IndexWriter.h"
#include "dictionary/files/DataFiles.h"
#include "dictionary/files/DataIndex.h"
#include "dictionary/sounds/SoundStore.h"
#include "dictionary/text/MessageReporter.h"
#include "tests/support/SmallData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quillory::datagen {
namespace {

using ::testing::HasSubstr;

const auto P = [](const char* text) { return EncodeSyllable(text, Scheme::Pinyin).value(); };
const auto J = [](const char* text) { return EncodeSyllable(text, Scheme::Jyutping).value(); };

class NoMessages : public MessageReporter {
public:
    void showMessage(const QString& text) override { ADD_FAILURE() << text.toStdString(); }
};

// A source with two characters and one word: the word adds a syllable no
// character reads, a nasal and a reading no scheme encodes are left out.
SourceData TinySource() {
    SourceData source;
    CharacterSource& ma = source.characters[0x5988];
    ma.code = 0x5988;
    ma.pinyin = {"ma1", "ma1"};
    ma.jyutping = {"maa1", "m4"};
    CharacterSource& er = source.characters[0x513F];
    er.code = 0x513F;
    er.pinyin = {"er2", "r5"};
    er.jyutping = {"ji4"};
    WordSource word;
    word.simplified = QStringLiteral("妈妈");
    word.traditional = QStringLiteral("媽媽");
    word.pinyin = QStringLiteral("ma1 ma5");
    word.jyutping = QStringLiteral("maa4  maa1");
    source.words.push_back(word);
    return source;
}

TEST(SyllableSounds, EveryReadingOfCharactersAndWordsOnceInSchemeAndIdOrder) {
    std::vector<std::pair<Scheme, SyllableId>> expected = {
        {Scheme::Pinyin, P("er2")},   {Scheme::Pinyin, P("ma1")},  {Scheme::Pinyin, P("ma5")},
        {Scheme::Jyutping, J("ji4")}, {Scheme::Jyutping, J("m4")}, {Scheme::Jyutping, J("maa1")},
        {Scheme::Jyutping, J("maa4")}};
    std::sort(expected.begin(), expected.end());
    std::vector<std::pair<Scheme, SyllableId>> listed;
    for (const SyllableToRecord& s : SyllablesToRecord(TinySource()))
        listed.emplace_back(s.scheme, s.id);
    EXPECT_EQ(listed, expected);
}

TEST(SyllableSounds, IndexListsExactlyTheRecordedSyllablesAndOnlyWhenRecording) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString soundPath = dir.filePath(QStringLiteral("sounds.dat"));
    IndexContent content;
    content.version = 3;
    QString error;
    SoundBuildStats stats;
    ASSERT_TRUE(WriteSyllableSounds(TinySource(), true, soundPath, content, &error, &stats))
        << error.toStdString();
    EXPECT_EQ(stats.pinyinRecorded, 3);
    EXPECT_EQ(stats.jyutpingRecorded, 3);
    EXPECT_EQ(stats.leftOut, 1); // m4
    EXPECT_TRUE(stats.failures.isEmpty()) << stats.failures.join(u'\n').toStdString();
    EXPECT_EQ(stats.fileSize, QFileInfo(soundPath).size());

    const QString indexPath = dir.filePath(QStringLiteral("oxa.dat"));
    ASSERT_TRUE(WriteIndexFile(content, indexPath, &error)) << error.toStdString();
    QFile indexFile(indexPath);
    ASSERT_TRUE(indexFile.open(QIODevice::ReadOnly));
    NoMessages reporter;
    DataIndex index(reporter);
    ASSERT_TRUE(index.LoadDataIndex(indexFile));
    SoundStore store;
    ASSERT_TRUE(store.Open(soundPath)) << store.error().toStdString();
    for (const SyllableToRecord& s : SyllablesToRecord(TinySource())) {
        const bool pinyin = s.scheme == Scheme::Pinyin;
        const bool indexed = pinyin ? index.HasPinyinSound(s.id) : index.HasJyutpingSound(s.id);
        const auto text = DecodeSyllable(s.id, s.scheme).value_or("?");
        EXPECT_EQ(indexed, text != "m4") << text;
        EXPECT_EQ(store.has(s.scheme, s.id), indexed) << text;
        // The entry points at the recording in the archive; the next entry's recording follows it.
        const auto ref = pinyin ? index.FindPinyinSoundChunk(s.id) : index.FindJyutpingSoundChunk(s.id);
        ASSERT_EQ(ref.has_value(), indexed) << text;
        if (indexed) {
            EXPECT_LT(ref->position, QFileInfo(soundPath).size()) << text;
            EXPECT_TRUE(ref->nextPosition == 0 || ref->nextPosition > ref->position) << text;
        }
    }
    // Syllables that nothing reads have no sound.
    EXPECT_FALSE(index.HasPinyinSound(P("ma2")));
    EXPECT_FALSE(index.HasJyutpingSound(J("maa2")));

    // Without recording the archive is empty and the entries of the run before go.
    ASSERT_TRUE(WriteSyllableSounds(TinySource(), false, soundPath, content, &error)) << error.toStdString();
    EXPECT_TRUE(content.pinyinSounds.empty());
    EXPECT_TRUE(content.jyutpingSounds.empty());
    ASSERT_TRUE(store.Open(soundPath)) << store.error().toStdString();
    EXPECT_EQ(store.size(), 0u);
}

TEST(SyllableSounds, MissingSynthesiserFailsTheBuild) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    IndexContent content;
    QString error;
    const bool ok =
        WriteSyllableSounds(TinySource(), true, dir.filePath(QStringLiteral("sounds.dat")), content, &error);
    qputenv("PATH", path);
    EXPECT_FALSE(ok);
    EXPECT_THAT(error.toStdString(), HasSubstr("espeak-ng"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("sounds.dat"))));
}

TEST(SyllableSounds, CompiledSmallDataHasASoundForEveryListedSyllable) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CompilerInputs inputs = testing::SmallDataInputs(dir.filePath(QStringLiteral("demo")));
    inputs.recordSounds = true;
    QString progressText, error;
    QTextStream progress(&progressText);
    ASSERT_TRUE(CompileData(inputs, progress, &error)) << error.toStdString();
    progress.flush();
    EXPECT_THAT(progressText.toStdString(), HasSubstr("syllabic nasals left out"));
    EXPECT_THAT(progressText.toStdString(), HasSubstr("sounds.dat: "));

    NoMessages reporter;
    DataFiles files(inputs.outDir, reporter);
    ASSERT_TRUE(files.OpenDataFiles());
    DataIndex index(reporter);
    ASSERT_TRUE(index.LoadDataIndex(*files.indexFile()));
    SoundStore store;
    ASSERT_TRUE(store.Open(QDir(inputs.outDir).filePath(QStringLiteral("sounds.dat"))));
    for (SyllableId id : index.PinyinSyllables()) {
        EXPECT_TRUE(index.HasPinyinSound(id)) << DecodeSyllable(id, Scheme::Pinyin).value_or("?");
        EXPECT_TRUE(store.has(Scheme::Pinyin, id));
    }
    std::vector<std::string> nasals;
    for (SyllableId id : index.JyutpingSyllables()) {
        const std::string text = DecodeSyllable(id, Scheme::Jyutping).value_or("?");
        const bool nasal = IsSyllabicNasal(text);
        if (nasal)
            nasals.push_back(text);
        EXPECT_EQ(index.HasJyutpingSound(id), !nasal) << text;
        EXPECT_EQ(store.has(Scheme::Jyutping, id), !nasal) << text;
    }
    EXPECT_THAT(nasals, ::testing::IsSupersetOf({"ng5", "ng6"})); // 五, 嗯
    EXPECT_TRUE(index.HasPinyinSound(P("zhong1")));
    EXPECT_TRUE(index.HasJyutpingSound(J("zung1")));
}

} // namespace
} // namespace quillory::datagen
