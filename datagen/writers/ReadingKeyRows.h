#pragma once
// The rows of the record store's reading index (see ReadingKeys.h): one per
// dictionary entry, reading system and distinct reading.
#include "datagen/sources/SourceData.h"
#include "dictionary/records/ReadingKeys.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace quillory::datagen {

struct ReadingKeyRow {
    qint64 wordId = 0; // words.id: the entry's position in source.words, from 1
    ReadingSystem system = ReadingSystem::Pinyin;
    QString letters;
    QString reading;
    qint64 count = 0;
};

// The distinct readings of an entry's reading field: alternatives separated
// by "/", each lower-cased with its syllables separated by single blanks;
// empty alternatives left out.
QStringList SplitReadingAlternatives(const QString& field);

// The Jyutping count of an entry: the Cantonese corpus count of its
// traditional form, else of its simplified form, else 0.
qint64 CantoneseCount(const SourceData& source, const WordSource& word);

// Every entry's rows, in entry order, Pinyin before Jyutping. Readings
// without letters (punctuation only) get no row.
std::vector<ReadingKeyRow> BuildReadingKeyRows(const SourceData& source);

} // namespace quillory::datagen
