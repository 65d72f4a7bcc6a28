#pragma once
// Merges rime-cantonese's tables into the sources: Cantonese words the
// dictionary lacks, rime's Jyutping for entries whose annotated reading
// differs only in tone or is missing, character readings in rime's order of
// use, and the Cantonese word counts.
#include "datagen/sources/RimeCantoneseReader.h"
#include "datagen/sources/SourceData.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillory::datagen {

// A character's Jyutping readings in order of use: kCantonese's reading
// first; then the readings rime weighs above 0 %, heaviest first (a reading
// without a weight is the ordinary one and weighs 100 %; equal weights keep
// the order of `readings`, then rime's); then readings rime does not list,
// in their order; then readings rime weighs 0 %. kCantonese's reading joins
// the 0 % readings, as their first, when rime weighs it 0 % and some other
// reading not. Rime's readings missing from `readings` are added.
std::vector<std::string> OrderJyutpingReadings(const std::vector<std::string>& readings,
                                               const std::string& cantonese,
                                               const std::vector<RimeReading>& rime);

// An entry's Jyutping from the reading annotated from its traditional form
// and rime's readings of that form: the annotated reading when rime has none
// or lists it; rime's first reading with the same syllables apart from their
// tones (a changed tone) when there is one; all of rime's readings, " / "
// separated, when the annotation is empty; else the annotated reading.
QString ChooseWordJyutping(const QString& annotated, const QStringList& rime);

// The simplified form of a traditional text; nullopt when it cannot be
// converted.
using ToSimplified = std::function<std::optional<QString>(const QString&)>;

struct CantoneseStats {
    int wordsAdded = 0;
    int tonesTaken = 0;    // entries given rime's reading for a changed tone
    int missingFilled = 0; // entries without a reading given rime's
    int characterReadingsAdded = 0;
    int charactersReordered = 0; // characters whose first reading changed
};

// Merges everything; source.words must hold only the dictionary's entries.
// A rime word becomes an entry of its own when it has two or more
// characters, each a dictionary ideograph with a Pinyin reading, when it has
// two characters or the Cantonese text counts it (rime lists many longer
// phrases no text uses), and when neither it nor its simplified form is a
// headword yet. Its
// Pinyin reads its longest pieces that are headwords as their first entry
// does and every other character by its first reading; its Jyutping is all
// of rime's readings (" / " separated); its English stays empty.
bool MergeCantonese(RimeCantonese rime, SourceData& source, const ToSimplified& toSimplified, QString* error,
                    CantoneseStats* stats = nullptr);

} // namespace quillory::datagen
