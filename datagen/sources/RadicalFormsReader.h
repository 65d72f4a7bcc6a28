#pragma once
// Reads the Unicode list of CJK radicals ("120'; 2EE2; 7E9F" lines).
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringView>
#include <cstdint>

namespace quillory::datagen {

// A code point of the CJK Radicals Supplement (U+2E80..U+2EFF) or the Kangxi
// Radicals (U+2F00..U+2FDF): a radical character, which only duplicates the
// shape of a unified ideograph.
bool IsRadicalCharacter(std::uint32_t code);

// Adds the forms of one line to source.radicalForms: the key is the text
// before the first ';' ("120'"), the value the unified ideograph (7E9F). The
// radical character (2EE2) is left out; it is kept only on a line that gives
// no ideograph. False for comments, blank and malformed lines.
bool AddRadicalFormsLine(QStringView line, SourceData& source);

bool ReadRadicalForms(const QString& path, SourceData& source, QString* error);

} // namespace quillory::datagen
