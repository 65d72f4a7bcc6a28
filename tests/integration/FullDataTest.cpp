// Known facts of real characters, checked on the full data built from the
// installed sources.
#include "dictionary/Dictionary.h"
#include "pages/builders/PlainListPage.h"
#include "dictionary/text/Romanisation.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace quillory;

namespace {

class FullData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        reporter_ = new RecordingReporter;
        dictionary_ = new Dictionary(QStringLiteral(QUILLORY_DATA_DIR), *reporter_);
        opened_ = dictionary_->Open();
    }
    static void TearDownTestSuite() {
        delete dictionary_;
        delete reporter_;
    }
    void SetUp() override { ASSERT_TRUE(opened_) << reporter_->messages.join(u'\n').toStdString(); }

    static CharacterRecord Record(char32_t c) {
        auto record = dictionary_->records().characterRecord(c);
        EXPECT_TRUE(record.has_value()) << std::hex << static_cast<unsigned>(c);
        return record.value_or(CharacterRecord{});
    }
    static QStringList Readings(const QString& text) { return text.split(u' ', Qt::SkipEmptyParts); }
    static bool Contains(const CharacterList& list, char32_t c) {
        return std::find(list.begin(), list.end(), static_cast<std::uint32_t>(c)) != list.end();
    }
    static const PlainListSection* Section(const PlainListPage& page, const QString& label) {
        for (const auto& section : page.sections) {
            if (section.label == label) {
                return &section;
            }
        }
        return nullptr;
    }

    static RecordingReporter* reporter_;
    static Dictionary* dictionary_;
    static bool opened_;
};

RecordingReporter* FullData::reporter_ = nullptr;
Dictionary* FullData::dictionary_ = nullptr;
bool FullData::opened_ = false;

TEST_F(FullData, CharacterRecordsHoldKnownFacts) {
    const CharacterRecord zhong = Record(U'中');
    EXPECT_EQ(zhong.code, 0x4E2Du);
    EXPECT_TRUE(Readings(zhong.pinyin).contains("zhong1"));
    EXPECT_TRUE(Readings(zhong.pinyin).contains("zhong4"));
    EXPECT_EQ(Readings(zhong.pinyin).first(), "zhong1");
    EXPECT_TRUE(Readings(zhong.jyutping).contains("zung1"));
    EXPECT_EQ(zhong.strokes, "4");
    EXPECT_EQ(zhong.radical, "2.3");
    EXPECT_FALSE(zhong.english.isEmpty());

    const CharacterRecord ren = Record(U'人');
    EXPECT_EQ(ren.strokes, "2");
    EXPECT_EQ(ren.radical, "9.0");

    EXPECT_TRUE(Readings(Record(U'五').jyutping).contains("ng5"));
    EXPECT_EQ(Record(U'长').radical, "168'.0");

    // Variants in both directions, as hexadecimal code points.
    EXPECT_TRUE(Record(U'学').fanti.split(u' ').contains("5B78"));
    EXPECT_TRUE(Record(U'學').jianti.split(u' ').contains("5B66"));

    // 行 has several readings in both languages.
    const CharacterRecord xing = Record(U'行');
    EXPECT_TRUE(Readings(xing.pinyin).contains("xing2"));
    EXPECT_TRUE(Readings(xing.pinyin).contains("hang2"));
    EXPECT_TRUE(Readings(xing.jyutping).contains("hang4"));
    EXPECT_TRUE(Readings(xing.jyutping).contains("hong4"));
}

TEST_F(FullData, IndexListsEverySyllableCountAndRadical) {
    EXPECT_EQ(dictionary_->index().DataVersion().size(), 4);
    const auto pinyin = dictionary_->index().PinyinSyllables();
    const auto jyutping = dictionary_->index().JyutpingSyllables();
    EXPECT_GT(pinyin.size(), 1200u);
    EXPECT_GT(jyutping.size(), 1200u);
    EXPECT_NE(std::find(pinyin.begin(), pinyin.end(), 0x1916), pinyin.end()); // zhong1
    EXPECT_NE(std::find(jyutping.begin(), jyutping.end(), *EncodeSyllable("ng5", Scheme::Jyutping)),
              jyutping.end());
    const auto counts = dictionary_->index().StrokeCounts();
    EXPECT_NE(std::find(counts.begin(), counts.end(), 4), counts.end());
    EXPECT_TRUE(dictionary_->index().RadicalTableText().startsWith("1.0\t"));
}

TEST_F(FullData, PinyinPageListsZhongUnderToneOne) {
    PlainListPage page;
    QString title;
    ASSERT_TRUE(dictionary_->lists().ListByPinyin(0x1916, page, title));
    EXPECT_EQ(title, "[zhong]");
    const PlainListSection* tone1 = Section(page, "zhong1");
    ASSERT_NE(tone1, nullptr);
    EXPECT_TRUE(Contains(tone1->chars, U'中'));
    const PlainListSection* tone4 = Section(page, "zhong4");
    ASSERT_NE(tone4, nullptr);
    EXPECT_TRUE(Contains(tone4->chars, U'中'));
    EXPECT_TRUE(Contains(tone4->chars, U'重'));
}

TEST_F(FullData, JyutpingAndStrokePagesListKnownCharacters) {
    PlainListPage page;
    QString title;
    ASSERT_TRUE(dictionary_->lists().ListByJyutping(*EncodeSyllable("zung1", Scheme::Jyutping), page, title));
    EXPECT_EQ(title, "[zung1]");
    ASSERT_NE(Section(page, "zung1"), nullptr);
    EXPECT_TRUE(Contains(Section(page, "zung1")->chars, U'中'));

    PlainListPage ng;
    ASSERT_TRUE(dictionary_->lists().ListByJyutping(*EncodeSyllable("ng5", Scheme::Jyutping), ng, title));
    ASSERT_NE(Section(ng, "ng5"), nullptr);
    EXPECT_TRUE(Contains(Section(ng, "ng5")->chars, U'五'));

    PlainListPage four;
    ASSERT_TRUE(dictionary_->lists().ListByStrokeCount(4, four, title));
    EXPECT_EQ(title, "[4]");
    ASSERT_EQ(four.sections.size(), 1u);
    EXPECT_TRUE(Contains(four.sections[0].chars, U'中'));
    EXPECT_FALSE(Contains(four.sections[0].chars, U'人'));
}

TEST_F(FullData, RadicalPagesAreNotConfused) {
    PlainListPage two, twelve;
    QString title;
    ASSERT_TRUE(dictionary_->lists().ListByRadical(2, two, title));
    ASSERT_TRUE(dictionary_->lists().ListByRadical(12, twelve, title));
    const PlainListSection* three = Section(two, "3");
    ASSERT_NE(three, nullptr);
    EXPECT_TRUE(Contains(three->chars, U'中'));
    for (const auto& section : two.sections) {
        EXPECT_FALSE(Contains(section.chars, U'六')) << "radical 12's 六 on radical 2's page";
        EXPECT_FALSE(Contains(section.chars, U'男')) << "radical 102's 男 on radical 2's page";
    }
    bool sixOnTwelve = false;
    for (const auto& section : twelve.sections) {
        sixOnTwelve = sixOnTwelve || Contains(section.chars, U'六');
    }
    EXPECT_TRUE(sixOnTwelve);

    PlainListPage variant;
    ASSERT_TRUE(dictionary_->lists().ListByRadical(168 + 0x100, variant, title));
    bool listsChang = Contains(variant.forms, U'长');
    for (const auto& section : variant.sections) {
        listsChang = listsChang || Contains(section.chars, U'长');
    }
    EXPECT_TRUE(listsChang);
}

TEST_F(FullData, EveryListedSyllableAndCountHasCharacters) {
    int emptyPinyin = 0;
    for (const SyllableId id : dictionary_->index().PinyinSyllables()) {
        PlainListPage page;
        QString title;
        if (!dictionary_->lists().ListByPinyin(id, page, title) || page.sections.empty()) {
            ++emptyPinyin;
        }
    }
    EXPECT_EQ(emptyPinyin, 0);
    int emptyJyutping = 0;
    for (const SyllableId id : dictionary_->index().JyutpingSyllables()) {
        PlainListPage page;
        QString title;
        if (!dictionary_->lists().ListByJyutping(id, page, title) || page.sections.empty()) {
            ++emptyJyutping;
        }
    }
    EXPECT_EQ(emptyJyutping, 0);
    for (const std::uint8_t count : dictionary_->index().StrokeCounts()) {
        PlainListPage page;
        QString title;
        dictionary_->lists().ListByStrokeCount(count, page, title);
        ASSERT_EQ(page.sections.size(), 1u);
        EXPECT_FALSE(page.sections[0].chars.empty()) << int(count);
    }
}

TEST_F(FullData, EverySpeakerSyllableHasAnAudibleRecording) {
    const SoundStore& sounds = dictionary_->sounds();
    ASSERT_TRUE(sounds.isOpen()) << dictionary_->soundError().toStdString();
    const auto nasal = [](std::string text) {
        text.pop_back(); // the tone
        return text == "m" || text == "n" || text == "ng" || text == "hm" || text == "hng";
    };
    const auto checkRecording = [&](Scheme scheme, SyllableId id, const std::string& text) {
        const auto samples = sounds.samples(scheme, id);
        ASSERT_TRUE(samples.has_value()) << text;
        const double seconds = double(samples->size()) / SoundStore::sampleRate();
        EXPECT_GT(seconds, 0.1) << text;
        EXPECT_LT(seconds, 2.0) << text;
        double energy = 0;
        for (std::int16_t s : *samples)
            energy += double(s) * s;
        EXPECT_GT(std::sqrt(energy / double(samples->size())), 500) << text;
    };

    // Every syllable of the lists: a speaker unless it is a syllabic nasal.
    std::size_t listed = 0;
    for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        const bool pinyin = scheme == Scheme::Pinyin;
        for (const SyllableId id :
             pinyin ? dictionary_->index().PinyinSyllables() : dictionary_->index().JyutpingSyllables()) {
            const std::string text = DecodeSyllable(id, scheme).value_or("?");
            const bool indexed =
                pinyin ? dictionary_->index().HasPinyinSound(id) : dictionary_->index().HasJyutpingSound(id);
            EXPECT_EQ(indexed, !nasal(text)) << text;
            EXPECT_EQ(sounds.has(scheme, id), indexed) << text;
            if (indexed)
                checkRecording(scheme, id, text);
            ++listed;
        }
    }
    EXPECT_GT(listed, 3900u);

    // Every syllable of some common words, whose pages show speakers too.
    for (const char* word : {"中文", "谢谢", "我们", "什么", "不客气", "朋友"}) {
        const auto entry = dictionary_->records().wordEntry(QString::fromUtf8(word));
        ASSERT_TRUE(entry.has_value()) << word;
        for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
            const QString reading = scheme == Scheme::Pinyin ? entry->pinyin : entry->jyutping;
            for (const QString& syllable :
                 reading.split(QRegularExpression(QStringLiteral("[ /]+")), Qt::SkipEmptyParts)) {
                const auto id = EncodeSyllable(syllable.toStdString(), scheme);
                ASSERT_TRUE(id.has_value()) << word << " " << syllable.toStdString();
                checkRecording(scheme, *id, syllable.toStdString());
            }
        }
    }

    // The index and the archive agree on every encodable syllable.
    for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
            if (!DecodeSyllable(SyllableId(id), scheme))
                continue;
            const bool indexed = scheme == Scheme::Pinyin
                                     ? dictionary_->index().HasPinyinSound(SyllableId(id))
                                     : dictionary_->index().HasJyutpingSound(SyllableId(id));
            EXPECT_EQ(indexed, sounds.has(scheme, SyllableId(id))) << id;
        }
    }
}

TEST_F(FullData, CharactersAppearInTheListsOfTheirRecords) {
    // A sample across the whole range: each character's record and lists agree.
    for (std::uint32_t code = 0x4E00; code <= 0x9FA5; code += 211) {
        auto record = dictionary_->records().characterRecord(code);
        if (!record || record->pinyin.isEmpty()) {
            continue;
        }
        const std::string first = Readings(record->pinyin).first().toStdString();
        const auto id = EncodeSyllable(first, Scheme::Pinyin);
        if (!id) {
            continue;
        }
        PlainListPage page;
        QString title;
        ASSERT_TRUE(dictionary_->lists().ListByPinyin(*id, page, title));
        const PlainListSection* section = Section(page, QString::fromStdString(first));
        ASSERT_NE(section, nullptr) << first;
        EXPECT_TRUE(Contains(section->chars, code)) << std::hex << code;

        PlainListPage strokes;
        dictionary_->lists().ListByStrokeCount(record->strokes.toInt(), strokes, title);
        ASSERT_EQ(strokes.sections.size(), 1u);
        EXPECT_TRUE(Contains(strokes.sections[0].chars, code)) << std::hex << code;
    }
}

TEST_F(FullData, WordsAndEnglishSearch) {
    const auto zhongwen = dictionary_->records().wordEntry(QStringLiteral("中文"));
    ASSERT_TRUE(zhongwen.has_value());
    EXPECT_TRUE(zhongwen->pinyin.contains("zhong1 wen2"));
    EXPECT_TRUE(zhongwen->jyutping.startsWith("zung1 man"));
    EXPECT_FALSE(zhongwen->english.isEmpty());

    // Traditional and simplified forms find the same entry.
    const auto xuexi = dictionary_->records().wordEntry(QStringLiteral("學習"));
    ASSERT_TRUE(xuexi.has_value());
    EXPECT_TRUE(xuexi->pinyin.contains("xue2 xi2"));
    EXPECT_FALSE(dictionary_->records().wordEntry(QStringLiteral("中中中中文文")).has_value());

    const auto matches = dictionary_->records().englishMatches(QStringLiteral("to study"));
    ASSERT_FALSE(matches.empty());
    bool studyNearTop = false;
    for (std::size_t i = 0; i < std::min<std::size_t>(10, matches.size()); ++i) {
        studyNearTop = studyNearTop || matches[i].word == "学习" || matches[i].word == "学" ||
                       matches[i].word == "研究" || matches[i].word == "念书";
    }
    EXPECT_TRUE(studyNearTop);
    EXPECT_TRUE(dictionary_->records().englishMatches(QStringLiteral("\"*) OR NEAR(")).size() < 1000);
}

TEST_F(FullData, DamagedIndexCopiesAreRefusedWithoutCrash) {
    QFile original(QStringLiteral(QUILLORY_DATA_DIR "/oxa.dat"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    ASSERT_GE(bytes.size(), 30721);
    ASSERT_LE(bytes.size(), 51200);

    QTemporaryDir dir;
    auto load = [&](const QByteArray& content, RecordingReporter& reporter) {
        QFile copy(dir.filePath("oxa.dat"));
        EXPECT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
        copy.write(content);
        copy.close();
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly));
        DataIndex index(reporter);
        const bool ok = index.LoadDataIndex(copy);
        EXPECT_EQ(ok, index.isLoaded());
        EXPECT_EQ(ok, !index.PinyinSyllables().empty());
        return ok;
    };
    RecordingReporter intact;
    EXPECT_TRUE(load(bytes, intact));
    EXPECT_TRUE(intact.messages.isEmpty());

    RecordingReporter shortened;
    EXPECT_FALSE(load(bytes.left(30720), shortened));
    EXPECT_TRUE(shortened.messages.isEmpty());

    for (int offset : {0, 1, 100, int(bytes.size()) / 2, int(bytes.size()) - 3}) {
        QByteArray damaged = bytes;
        damaged[offset] = char(damaged[offset] ^ 0x5A);
        RecordingReporter reporter;
        EXPECT_FALSE(load(damaged, reporter)) << offset;
    }
}

} // namespace
