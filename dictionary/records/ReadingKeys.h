#pragma once
// The record store's reading index: one row per dictionary entry, reading
// system and distinct reading, keyed by the reading's toneless letters, so that
// romanised queries typed any way ("zhongwen", "zhong1 wen2", "lǚyóu",
// "nei5hou2") find their words by one indexed look-up. The data compiler
// writes it; ReadingIndex reads it.
#include <QString>
#include <QStringView>

namespace quillory {

// Values of the reading_keys.system column.
enum class ReadingSystem : int { Pinyin = 0, Jyutping = 1 };

// Columns:
//   word_id  the entry's words.id;
//   system   a ReadingSystem;
//   letters  the reading's letters without tones, blanks or apostrophes, lower
//            case, ü written v ("zhong1 wen2" -> "zhongwen", "lu:3 you2" -> "lvyou");
//   reading  the reading as the entry has it: lower case, tone digits (5 for
//            the neutral tone), v for ü, syllables separated by single blanks;
//   count    how common the entry is for this system: its simplified form's
//            word count (jieba) for Pinyin; for Jyutping the Cantonese corpus
//            count of its traditional form, else of its simplified form; 0
//            when the corpus lacks it.
inline constexpr char kReadingKeysSchema[] =
    "CREATE TABLE reading_keys(word_id INTEGER NOT NULL, system INTEGER NOT NULL, "
    "letters TEXT NOT NULL, reading TEXT NOT NULL, count INTEGER NOT NULL);";
// Built after the rows are in. Serves exact and prefix look-ups of letters,
// most common first.
inline constexpr char kReadingKeysIndex[] =
    "CREATE INDEX reading_keys_by_letters ON reading_keys(system, letters, count DESC);";

// The letters column of a reading: ASCII letters lower-cased, ü / u: / v as v,
// everything else (tone digits, blanks, apostrophes) dropped.
QString ReadingLetters(QStringView reading);

} // namespace quillory
