#pragma once
// Reads CC-CEDICT: every entry becomes a word, and single-character entries
// add their readings and glosses to the characters.
#include "datagen/sources/SourceData.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace quillory::datagen {

// Normalises the Pinyin of one entry: syllables ("Zhong1", "nu:3", "r5")
// become lower case with v for ü and er5 for r5; every other token
// (punctuation, Latin letters, digits, "xx5") is kept as it stands.
QString NormaliseCedictPinyin(QStringView pinyin);

// Parses "TRAD SIMP [pin1 yin1] /gloss/gloss/"; false for a line of any
// other shape (comments included).
bool ParseCedictLine(QStringView line, WordSource* word);

// The dictionary text of a file: the text between the backticks of a
// JavaScript module ("*.js"), or the whole file otherwise.
bool ReadCedictText(const QString& path, QString* text, QString* error);

struct CedictStats {
    int entries = 0;
    int skippedLines = 0; // non-comment lines that are no entry
    int singleCharacterEntries = 0;
};

// Adds the entries of text to source.words, keeps the leading comment lines
// in source.cedictHeader and merges single-character entries into
// source.characters (readings after the ones already there, glosses into
// cedictEnglish).
void AddCedictText(QStringView text, SourceData& source, CedictStats* stats = nullptr);

bool ReadCedict(const QString& path, SourceData& source, QString* error, CedictStats* stats = nullptr);

} // namespace quillory::datagen
