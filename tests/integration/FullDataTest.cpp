// Known facts of real characters, checked on the full data built from the
// installed sources.
#include "dictionary/Dictionary.h"
#include "dictionary/text/Romanisation.h"
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PlainListPage.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"

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
        language_ = new LanguageData(*reporter_);
        language_->Load(QString());
        names_ = new NameRegistry;
        RegisterLabelKeys(*language_, *names_);
        builder_ = new PageBuilder(*language_, *names_, dictionary_->index());
    }
    static void TearDownTestSuite() {
        delete builder_;
        delete names_;
        delete language_;
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
    static CharacterList Section(const PlainListPage& page, const QString& label) {
        const auto it = std::find_if(page.sections.begin(), page.sections.end(),
                                     [&](const PlainListSection& section) { return section.label == label; });
        return it == page.sections.end() ? CharacterList{} : it->chars;
    }
    static PlainListPage List(int kind, int value, QString* title = nullptr) {
        PlainListPage page;
        QString text;
        CharacterLists& lists = dictionary_->lists();
        const bool listed = kind == 1   ? lists.ListByPinyin(SyllableId(value), page, text)
                            : kind == 3 ? lists.ListByJyutping(SyllableId(value), page, text)
                            : kind == 8 ? lists.ListByStrokeCount(value, page, text)
                                        : lists.ListByRadical(value, page, text);
        EXPECT_TRUE(listed) << kind << " " << value;
        if (title)
            *title = text;
        return page;
    }

    static bool HasSound(Scheme scheme, SyllableId id) {
        return scheme == Scheme::Pinyin ? dictionary_->index().HasPinyinSound(id)
                                        : dictionary_->index().HasJyutpingSound(id);
    }

    static inline RecordingReporter* reporter_ = nullptr;
    static inline Dictionary* dictionary_ = nullptr;
    static inline bool opened_ = false;
    static inline LanguageData* language_ = nullptr;
    static inline NameRegistry* names_ = nullptr;
    static inline PageBuilder* builder_ = nullptr; // the window's pages, English labels
};

TEST_F(FullData, CharacterRecordsHoldKnownFacts) {
    const CharacterRecord zhong = Record(U'中');
    EXPECT_EQ(zhong.code, 0x4E2Du);
    EXPECT_EQ(Readings(zhong.pinyin).first(), "zhong1");
    EXPECT_FALSE(zhong.english.isEmpty());
    const struct {
        char32_t c;
        const char *pinyin, *jyutping, *strokes, *radical;
    } facts[] = {{U'中', "zhong4", "zung1", "4", "2.3"},  {U'人', "ren2", "jan4", "2", "9.0"},
                 {U'行', "hang2", "hong4", "6", "144.0"}, {U'行', "xing2", "hang4", "6", "144.0"},
                 {U'五', "wu3", "ng5", "4", "7.2"},       {U'长', "zhang3", "coeng4", "4", "168'.0"}};
    for (const auto& f : facts) {
        const CharacterRecord record = Record(f.c);
        EXPECT_TRUE(Readings(record.pinyin).contains(f.pinyin)) << f.pinyin;
        EXPECT_TRUE(Readings(record.jyutping).contains(f.jyutping)) << f.jyutping;
        EXPECT_EQ(record.strokes, f.strokes) << f.pinyin;
        EXPECT_EQ(record.radical, f.radical) << f.pinyin;
    }
    // Variants in both directions, as hexadecimal code points.
    EXPECT_TRUE(Record(U'学').fanti.split(u' ').contains("5B78"));
    EXPECT_TRUE(Record(U'學').jianti.split(u' ').contains("5B66"));
}

// The readings with tone marks take the mark where standard Pinyin puts it.
TEST_F(FullData, ToneMarksOnTheRightLetter) {
    const struct {
        char32_t c;
        const char* marked;
    } cases[] = {{U'六', "liù"}, {U'熊', "xióng"}, {U'九', "jiǔ"},
                 {U'贵', "guì"}, {U'牛', "niú"},   {U'中', "zhōng"}};
    for (const auto& c : cases) {
        const CharacterRecord record = Record(c.c);
        EXPECT_TRUE(Readings(record.field10).contains(QString::fromUtf8(c.marked))) << c.marked;
        // The page text shows the same marks in the display font's codes.
        EXPECT_TRUE(
            Readings(FontFormToUnicode(MarkPinyinFont(record.pinyin))).contains(QString::fromUtf8(c.marked)))
            << c.marked;
    }
}

// A radical's forms are those of the radical list; the characters with
// residual 0 (and a negative residual) are its page's first group.
TEST_F(FullData, RadicalFormsAndTheirResidualZeroGroup) {
    CharacterList forms;
    bool outOfRange = true;
    ASSERT_TRUE(builder_->RadicalForms(Record(U'男').radical, forms, outOfRange));
    EXPECT_EQ(forms, CharacterList{U'田'});
    EXPECT_FALSE(outOfRange);

    const struct {
        int radical;
        const char* title;
        char32_t listed;
    } pages[] = {{102, "[田]", U'电'}, {168 + 0x100, "[长]", U'长'}, {96, "[玉]", U'王'}, {2, "[丨]", U'丨'}};
    for (const auto& p : pages) {
        QString title;
        const PlainListPage page = List(9, p.radical, &title);
        EXPECT_EQ(title, QString::fromUtf8(p.title));
        ASSERT_FALSE(page.sections.empty()) << p.title;
        EXPECT_EQ(page.sections[0].label, "0") << p.title;
        EXPECT_TRUE(Contains(page.sections[0].chars, p.listed)) << p.title;
    }

    // Every radical row names its one form in the pages' range (and 阝 for
    // 163), no radical character (U+2E80..U+2FDF) and so no "*".
    int radicals = 0;
    for (const QString& line : dictionary_->index().RadicalTableText().split(u'\n', Qt::SkipEmptyParts)) {
        const RadicalLine radical = ParseRadicalLine(line);
        EXPECT_EQ(radical.count, 1) << line.toStdString();
        EXPECT_FALSE(radical.forms.endsWith(u'*')) << line.toStdString();
        EXPECT_FALSE(line.contains(QRegularExpression(QStringLiteral("\\b2[EF][0-9A-F]{2}\\b"))))
            << line.toStdString();
        ++radicals;
    }
    EXPECT_GT(radicals, 230);
}

// A variant outside U+4E00..U+9FA5 shows on the page without a link.
TEST_F(FullData, VariantsOutsideThePagesRangeAreShown) {
    const CharacterRecord ma = Record(U'傌');
    ASSERT_TRUE(ma.jianti.split(u' ').contains("3437"));
    QString page;
    builder_->MakeCharacterTable(ma, page, false);
    EXPECT_TRUE(page.contains("<td><span class=gb>&#x3437;</span>&nbsp;")) << page.toStdString();
    EXPECT_FALSE(page.contains("mmpp://0=3437"));
}

// List pages hold known characters in the right section, and none of a
// radical whose number contains this one's (六 of 12, 男 of 102 not on 2's page).
TEST_F(FullData, ListPagesHoldKnownCharacters) {
    const struct {
        int kind; // the link command: 1 Pinyin, 3 Jyutping, 8 strokes, 9 radical
        int value;
        const char *title, *section;
        char32_t listed, absent;
    } cases[] = {{1, 0x1916, "[zhong]", "zhong1", U'中', U'人'},
                 {1, 0x1916, "[zhong]", "zhong4", U'重', U'人'},
                 {3, *EncodeSyllable("zung1", Scheme::Jyutping), "[zung1]", "zung1", U'中', U'人'},
                 {3, *EncodeSyllable("ng5", Scheme::Jyutping), "[ng5]", "ng5", U'五', U'中'},
                 {8, 4, "[4]", "4", U'中', U'人'},
                 {9, 2, "[丨]", "3", U'中', U'六'},
                 {9, 2, "[丨]", "0", U'丨', U'男'},
                 {9, 12, "[八]", "2", U'六', U'男'}};
    for (const auto& c : cases) {
        QString title;
        const PlainListPage page = List(c.kind, c.value, &title);
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_TRUE(Contains(Section(page, c.section), c.listed)) << c.title << " " << c.section;
        for (const auto& section : page.sections) {
            EXPECT_FALSE(Contains(section.chars, c.absent)) << c.title << " " << section.label.toStdString();
        }
    }
}

// Every entry of the category tree opens a page with characters.
TEST_F(FullData, EveryListedSyllableCountAndRadicalHasCharacters) {
    const DataIndex& index = dictionary_->index();
    EXPECT_EQ(index.DataVersion().size(), 4);
    EXPECT_GT(index.PinyinSyllables().size(), 1200u);
    EXPECT_GT(index.JyutpingSyllables().size(), 1200u);
    EXPECT_TRUE(index.RadicalTableText().startsWith("1.0\t"));
    int empty = 0;
    for (const SyllableId id : index.PinyinSyllables()) {
        empty += List(1, id).sections.empty();
    }
    for (const SyllableId id : index.JyutpingSyllables()) {
        empty += List(3, id).sections.empty();
    }
    for (const std::uint8_t count : index.StrokeCounts()) {
        const PlainListPage page = List(8, count);
        empty += page.sections.size() != 1 || page.sections[0].chars.empty();
    }
    for (const QString& line : index.RadicalTableText().split(u'\n', Qt::SkipEmptyParts)) {
        const PlainListPage page = List(9, ParseRadicalLine(line).value); // 90', 162', 201': forms only
        empty += page.sections.empty() && page.forms.empty();
    }
    EXPECT_EQ(empty, 0);
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
            const bool indexed = HasSound(scheme, id);
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
            if (DecodeSyllable(SyllableId(id), scheme))
                EXPECT_EQ(HasSound(scheme, SyllableId(id)), sounds.has(scheme, SyllableId(id))) << id;
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
        EXPECT_TRUE(Contains(Section(List(1, *id), QString::fromStdString(first)), code)) << std::hex << code;
        EXPECT_TRUE(Contains(Section(List(8, record->strokes.toInt()), record->strokes), code))
            << std::hex << code;
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
    EXPECT_TRUE(std::any_of(matches.begin(), matches.begin() + std::min<std::size_t>(10, matches.size()),
                            [](const auto& m) {
                                return QStringList{"学习", "学", "研究", "念书"}.contains(m.word);
                            }));
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
    for (const bool intact : {true, false}) { // an index cut short is refused without a message
        RecordingReporter reporter;
        EXPECT_EQ(load(intact ? bytes : bytes.left(30720), reporter), intact);
        EXPECT_TRUE(reporter.messages.isEmpty());
    }

    for (int offset : {0, 1, 100, int(bytes.size()) / 2, int(bytes.size()) - 3}) {
        QByteArray damaged = bytes;
        damaged[offset] = char(damaged[offset] ^ 0x5A);
        RecordingReporter reporter;
        EXPECT_FALSE(load(damaged, reporter)) << offset;
    }
}

} // namespace
