// Known facts of real characters, checked on the full data built from the installed sources.
#include "datagen/sources/RimeCantoneseReader.h"
#include "dictionary/Dictionary.h"
#include "dictionary/records/ReadingKeys.h"
#include "dictionary/records/SqliteStatement.h"
#include "dictionary/text/Romanisation.h"
#include "pages/builders/PageBuilder.h"
#include "pages/builders/PlainListPage.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "settings/RegisteredNames.h"
#include "tests/support/QtPrinters.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

using namespace quillory;

namespace {

// The open data and the window's page builder (English labels), shared by the suite's tests.
struct Shared {
    RecordingReporter reporter;
    Dictionary dictionary{QStringLiteral(QUILLORY_DATA_DIR), reporter};
    bool opened = dictionary.Open();
    LanguageData language{reporter};
    NameRegistry names;
    bool labelled =
        (language.Load(QString()), RegisterLabelKeys(language, names), true); // before the builder
    PageBuilder builder{language, names, dictionary.index()};
};

class FullData : public ::testing::Test {
protected:
    static void SetUpTestSuite() { shared_ = std::make_unique<Shared>(); }
    static void TearDownTestSuite() { shared_.reset(); }
    void SetUp() override {
        ASSERT_TRUE(shared_->opened) << shared_->reporter.messages.join(u'\n').toStdString();
    }

    static CharacterRecord Record(char32_t c) {
        auto record = data().records().characterRecord(c);
        EXPECT_TRUE(record.has_value()) << std::hex << static_cast<unsigned>(c);
        return record.value_or(CharacterRecord{});
    }
    static QStringList Readings(const QString& text) { return text.split(u' ', Qt::SkipEmptyParts); }
    // Whether the page lists c in the section of that label, or in any section for an empty label.
    static bool Listed(const PlainListPage& page, const QString& label, char32_t c) {
        return std::any_of(page.sections.begin(), page.sections.end(), [&](const PlainListSection& section) {
            return (label.isEmpty() || section.label == label) &&
                   std::count(section.chars.begin(), section.chars.end(), std::uint32_t(c)) != 0;
        });
    }
    static PlainListPage List(int kind, int value, QString* title = nullptr) {
        PlainListPage page;
        QString ignored;
        QString& text = title ? *title : ignored;
        const bool listed = kind == 1   ? data().lists().ListByPinyin(SyllableId(value), page, text)
                            : kind == 3 ? data().lists().ListByJyutping(SyllableId(value), page, text)
                            : kind == 8 ? data().lists().ListByStrokeCount(value, page, text)
                                        : data().lists().ListByRadical(value, page, text);
        EXPECT_TRUE(listed) << kind << " " << value;
        return page;
    }
    static bool HasSound(Scheme scheme, SyllableId id) {
        return scheme == Scheme::Pinyin ? data().index().HasPinyinSound(id)
                                        : data().index().HasJyutpingSound(id);
    }
    static Dictionary& data() { return shared_->dictionary; }
    static inline std::unique_ptr<Shared> shared_;
};

TEST_F(FullData, RecordsOfCharactersAndWordsHoldKnownFacts) {
    const CharacterRecord zhong = Record(U'中');
    EXPECT_EQ(zhong.code, 0x4E2Du);
    EXPECT_EQ(Readings(zhong.pinyin).first(), "zhong1");
    EXPECT_FALSE(zhong.english.isEmpty());
    // A reading, its tone mark where standard Pinyin puts it, a Jyutping reading, strokes and radical.
    const struct {
        char32_t c;
        const char *pinyin, *marked, *jyutping, *strokes, *radical;
    } facts[] = {
        {U'中', "zhong1", "zhōng", "zung1", "4", "2.3"},     {U'中', "zhong4", "zhòng", "zung1", "4", "2.3"},
        {U'人', "ren2", "rén", "jan4", "2", "9.0"},          {U'行', "hang2", "háng", "hong4", "6", "144.0"},
        {U'行', "xing2", "xíng", "hang4", "6", "144.0"},     {U'五', "wu3", "wǔ", "ng5", "4", "7.2"},
        {U'长', "zhang3", "zhǎng", "coeng4", "4", "168'.0"}, {U'六', "liu4", "liù", "luk6", "4", "12.2"},
        {U'熊', "xiong2", "xióng", "hung4", "14", "86.10"},  {U'九', "jiu3", "jiǔ", "gau2", "2", "5.1"},
        {U'贵', "gui4", "guì", "gwai3", "9", "154'.5"},      {U'牛', "niu2", "niú", "ngau4", "4", "93.0"}};
    for (const auto& f : facts) {
        SCOPED_TRACE(f.pinyin);
        const CharacterRecord record = Record(f.c);
        EXPECT_TRUE(Readings(record.pinyin).contains(f.pinyin));
        EXPECT_TRUE(Readings(record.field10).contains(QString::fromUtf8(f.marked)));
        // The page text shows the same marks in the display font's codes.
        EXPECT_TRUE(
            Readings(FontFormToUnicode(MarkPinyinFont(record.pinyin))).contains(QString::fromUtf8(f.marked)));
        EXPECT_TRUE(Readings(record.jyutping).contains(f.jyutping));
        EXPECT_EQ(record.strokes, f.strokes);
        EXPECT_EQ(record.radical, f.radical);
    }
    // Variants in both directions, as hexadecimal code points.
    EXPECT_TRUE(Record(U'学').fanti.split(u' ').contains("5B78"));
    EXPECT_TRUE(Record(U'學').jianti.split(u' ').contains("5B66"));
    // A radical's forms are those of the radical list; a variant outside U+4E00..U+9FA5 shows without a link.
    CharacterList forms;
    bool outOfRange = true;
    ASSERT_TRUE(shared_->builder.RadicalForms(Record(U'男').radical, forms, outOfRange));
    EXPECT_EQ(forms, CharacterList{U'田'});
    EXPECT_FALSE(outOfRange);
    const CharacterRecord ma = Record(U'傌');
    ASSERT_TRUE(ma.jianti.split(u' ').contains("3437"));
    QString page;
    shared_->builder.MakeCharacterTable(ma, page, false);
    EXPECT_TRUE(page.contains("<td><span class=gb>&#x3437;</span>&nbsp;")) << page.toStdString();
    EXPECT_FALSE(page.contains("mmpp://0=3437"));
    // Words by their simplified or traditional form, and Chinese words for English.
    for (const auto& [word, pinyin, jyutping] :
         {std::tuple{"中文", "zhong1 wen2", "zung1 man"}, {"學習", "xue2 xi2", "hok6 zaap6"}}) {
        const auto entry = data().records().wordEntry(QString::fromUtf8(word));
        ASSERT_TRUE(entry.has_value()) << word;
        EXPECT_TRUE(entry->pinyin.contains(pinyin) && entry->jyutping.startsWith(jyutping)) << word;
        EXPECT_FALSE(entry->english.isEmpty()) << word;
    }
    EXPECT_FALSE(data().records().wordEntry(QStringLiteral("中中中中文文")).has_value());
    const auto matches = data().records().englishMatches(QStringLiteral("to study"));
    const QStringList studies = {"学习", "学", "研究", "念书"};
    EXPECT_TRUE(std::any_of(matches.begin(), matches.begin() + std::min<std::size_t>(10, matches.size()),
                            [&](const auto& m) { return studies.contains(m.word); }));
    EXPECT_TRUE(data().records().englishMatches(QStringLiteral("\"*) OR NEAR(")).size() < 1000);
}

// Everyday Cantonese words have pages with their Jyutping and the label that says they have no gloss;
// character readings follow rime-cantonese's weights after kCantonese's; the reading index finds words
// by their toneless letters in either system.
TEST_F(FullData, CantoneseWordsReadingOrderAndReadingIndex) {
    const std::optional<std::uint32_t> labelId =
        shared_->names.idOf(QString::fromLatin1(kCantoneseOnlyLabel));
    ASSERT_TRUE(labelId.has_value());
    const std::optional<InterfaceText> label = shared_->language.GetText(*labelId);
    ASSERT_TRUE(label.has_value());
    for (const auto& [word, jyutping] :
         {std::pair{"唔該", "m4 goi1"}, {"食飯", "sik6 faan6"}, {"聽日", "ting1 jat6"}}) {
        const auto entry = data().records().wordEntry(QString::fromUtf8(word));
        ASSERT_TRUE(entry.has_value()) << word;
        EXPECT_EQ(entry->jyutping, QString::fromUtf8(jyutping)) << word;
        EXPECT_TRUE(entry->english.isEmpty()) << word;
        QString page;
        shared_->builder.MakeWordTable(entry->word, entry->pinyin, entry->jyutping, entry->english, page);
        EXPECT_TRUE(page.contains(label->text)) << page.toStdString();
    }

    // kCantonese's reading first (行 hang4, 中 zung1); never a reading rime weighs 0 % while another is not.
    const auto readingsOf = [](const std::vector<CharacterReading>& all, char32_t c) {
        const auto it = std::find_if(all.begin(), all.end(), [c](const auto& r) { return r.code == c; });
        return it == all.end() ? QStringList() : Readings(it->jyutping);
    };
    const std::vector<CharacterReading> characters = data().records().characterReadings();
    EXPECT_EQ(readingsOf(characters, U'行').value(0), "hang4");
    EXPECT_EQ(readingsOf(characters, U'中').value(0), "zung1");
    datagen::RimeCantonese rime;
    datagen::RimeStats stats;
    QString error;
    ASSERT_TRUE(datagen::ReadRimeCharacters(
        QStringLiteral(QUILLORY_RIME_DIR "/") + datagen::kRimeCharactersFile, rime, &error, &stats))
        << error.toStdString();
    int zeroFirst = 0;
    for (const CharacterReading& character : characters) {
        const auto weights = rime.characters.find(character.code);
        if (weights == rime.characters.end()) {
            continue;
        }
        const auto weightOf = [&](const QString& reading) {
            for (const datagen::RimeReading& listed : weights->second) {
                if (listed.jyutping == reading) {
                    return listed.weight;
                }
            }
            return datagen::kNoRimeWeight;
        };
        const QStringList readings = Readings(character.jyutping);
        const bool someNotZero =
            std::any_of(readings.begin(), readings.end(), [&](const QString& r) { return weightOf(r) != 0; });
        zeroFirst += !readings.isEmpty() && weightOf(readings.front()) == 0 && someNotZero;
    }
    EXPECT_EQ(zeroFirst, 0);

    const auto wordsByLetters = [](ReadingSystem system, const char* letters) {
        SqliteStatement statement;
        EXPECT_TRUE(
            statement.Prepare(data().records().connection(),
                              "SELECT w.traditional || ' ' || k.reading FROM reading_keys AS k JOIN words "
                              "AS w ON w.id = k.word_id WHERE k.system = ?1 AND k.letters = ?2"));
        statement.Bind(1, sqlite3_int64(system));
        statement.Bind(2, QString::fromLatin1(letters));
        QStringList found;
        while (statement.Step() == SQLITE_ROW) {
            found.append(statement.text(0));
        }
        return found;
    };
    EXPECT_TRUE(wordsByLetters(ReadingSystem::Pinyin, "zhongwen").contains("中文 zhong1 wen2"));
    EXPECT_TRUE(wordsByLetters(ReadingSystem::Pinyin, "lvyou").contains("旅遊 lv3 you2"));
    const QStringList xian = wordsByLetters(ReadingSystem::Pinyin, "xian");
    EXPECT_TRUE(xian.contains("先 xian1") && xian.contains("西安 xi1 an1"));
    EXPECT_TRUE(wordsByLetters(ReadingSystem::Jyutping, "mgoi").contains("唔該 m4 goi1"));
    EXPECT_TRUE(wordsByLetters(ReadingSystem::Jyutping, "neihou").contains("你好 nei5 hou2"));
}

// List pages hold known characters in the right section, and none of another radical (六 of 12 on 2's page).
TEST_F(FullData, ListPagesHoldKnownCharactersAndEveryListHasSome) {
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
                 {9, 12, "[八]", "2", U'六', U'男'},
                 {9, 102, "[田]", "0", U'电', U'人'},
                 {9, 168 + 0x100, "[长]", "0", U'长', U'人'},
                 {9, 96, "[玉]", "0", U'王', U'人'}};
    for (const auto& c : cases) {
        QString title;
        const PlainListPage page = List(c.kind, c.value, &title);
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        EXPECT_TRUE(Listed(page, c.section, c.listed)) << c.title << " " << c.section;
        EXPECT_FALSE(Listed(page, {}, c.absent)) << c.title;
        // Residual 0 (and negative) is a radical page's first group.
        EXPECT_TRUE(c.kind != 9 || (!page.sections.empty() && page.sections[0].label == "0")) << c.title;
    }
    // Every entry of the category tree opens a page with characters.
    const DataIndex& index = data().index();
    EXPECT_EQ(index.dataVersion().size(), 4);
    EXPECT_GT(index.PinyinSyllables().size(), 1200u);
    EXPECT_GT(index.JyutpingSyllables().size(), 1200u);
    EXPECT_GT(index.PinyinSyllables().size() + index.JyutpingSyllables().size(), 3900u);
    EXPECT_TRUE(index.RadicalTableText().startsWith("1.0\t"));
    int empty = 0;
    for (const SyllableId id : index.PinyinSyllables())
        empty += List(1, id).sections.empty();
    for (const SyllableId id : index.JyutpingSyllables())
        empty += List(3, id).sections.empty();
    for (const std::uint8_t count : index.StrokeCounts()) {
        const PlainListPage page = List(8, count);
        empty += page.sections.size() != 1 || page.sections[0].chars.empty();
    }
    const QStringList radicals = index.RadicalTableText().split(u'\n', Qt::SkipEmptyParts);
    EXPECT_GT(radicals.size(), 230);
    for (const QString& line : radicals) {
        // One form in the pages' range (阝 for 163), no radical character (U+2E80..U+2FDF), so no "*".
        const RadicalLine radical = ParseRadicalLine(line);
        EXPECT_EQ(radical.count, 1) << line.toStdString();
        EXPECT_FALSE(radical.forms.endsWith(u'*') ||
                     line.contains(QRegularExpression(u"\\b2[EF][0-9A-F]{2}\\b"_qs)))
            << line.toStdString();
        const PlainListPage page = List(9, radical.value); // 90', 162', 201': forms only
        empty += page.sections.empty() && page.forms.empty();
    }
    EXPECT_EQ(empty, 0);
    // A sample across the whole range: each character's record and lists agree.
    for (std::uint32_t code = 0x4E00; code <= 0x9FA5; code += 211) {
        const auto record = data().records().characterRecord(code);
        const std::string first = record ? Readings(record->pinyin).value(0).toStdString() : std::string();
        const auto id = EncodeSyllable(first, Scheme::Pinyin);
        if (!id)
            continue; // no record, or no Pinyin reading that a list shows
        EXPECT_TRUE(Listed(List(1, *id), QString::fromStdString(first), code)) << std::hex << code;
        EXPECT_TRUE(Listed(List(8, record->strokes.toInt()), record->strokes, code)) << std::hex << code;
    }
}

TEST_F(FullData, EverySpeakerSyllableHasAnAudibleRecording) {
    const SoundStore& sounds = data().sounds();
    ASSERT_TRUE(sounds.isOpen()) << data().soundError().toStdString();
    const std::set<std::string> nasals = {"m", "n", "ng", "hm", "hng"}; // without their tone
    const auto checkRecording = [&](Scheme scheme, SyllableId id, const std::string& text) {
        const auto samples = sounds.samples(scheme, id);
        ASSERT_TRUE(samples.has_value()) << text;
        const double seconds = double(samples->size()) / SoundStore::sampleRate();
        EXPECT_TRUE(seconds > 0.1 && seconds < 2.0) << text << ": " << seconds << " s";
        const double energy = std::inner_product(samples->begin(), samples->end(), samples->begin(), 0.0);
        EXPECT_GT(std::sqrt(energy / double(samples->size())), 500) << text;
    };
    // Every syllable of the lists: a speaker unless it is a syllabic nasal.
    for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping}) {
        const auto& syllables =
            scheme == Scheme::Pinyin ? data().index().PinyinSyllables() : data().index().JyutpingSyllables();
        for (const SyllableId id : syllables) {
            const std::string text = DecodeSyllable(id, scheme).value_or("?");
            const bool indexed = HasSound(scheme, id);
            EXPECT_EQ(indexed, nasals.count(text.substr(0, text.size() - 1)) == 0) << text;
            if (indexed)
                checkRecording(scheme, id, text);
        }
    }
    // Every syllable of some common words, whose pages show speakers too.
    for (const char* word : {"中文", "谢谢", "我们", "什么", "不客气", "朋友"}) {
        const auto entry = data().records().wordEntry(QString::fromUtf8(word));
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
    for (const Scheme scheme : {Scheme::Pinyin, Scheme::Jyutping})
        for (std::uint32_t id = 0; id <= 0xFFFF; ++id)
            EXPECT_TRUE(!DecodeSyllable(SyllableId(id), scheme) ||
                        HasSound(scheme, SyllableId(id)) == sounds.has(scheme, SyllableId(id)))
                << id;
}

TEST_F(FullData, DamagedIndexCopiesAreRefusedWithoutCrash) {
    QFile original(QStringLiteral(QUILLORY_DATA_DIR "/oxa.dat"));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    ASSERT_TRUE(bytes.size() > 30720 && bytes.size() <= 51200) << bytes.size();
    QTemporaryDir dir;
    // Whether a copy with that content loads, and how many messages it reported.
    auto load = [&](const QByteArray& content) {
        QFile copy(dir.filePath("oxa.dat"));
        EXPECT_TRUE(copy.open(QIODevice::WriteOnly | QIODevice::Truncate));
        copy.write(content);
        copy.close();
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly));
        RecordingReporter reporter;
        DataIndex index(reporter);
        const bool ok = index.LoadDataIndex(copy);
        EXPECT_EQ(ok, index.isLoaded());
        EXPECT_EQ(ok, !index.PinyinSyllables().empty());
        return std::pair{ok, reporter.messages.size()};
    };
    EXPECT_EQ(load(bytes), std::pair(true, qsizetype(0)));
    EXPECT_EQ(load(bytes.left(30720)),
              std::pair(false, qsizetype(0))); // cut short: refused without a message
    for (int offset : {0, 1, 100, int(bytes.size()) / 2, int(bytes.size()) - 3}) {
        QByteArray damaged = bytes;
        damaged[offset] = char(damaged[offset] ^ 0x5A);
        EXPECT_FALSE(load(damaged).first) << offset;
    }
}

} // namespace
