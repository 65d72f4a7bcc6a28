#pragma once
// Reads the Unicode list of CJK radicals ("120'; 2EE2; 7E9F" lines).
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringView>

namespace quillory::datagen {

// Adds the forms of one line to source.radicalForms: the key is the text
// before the first ';' ("120'"), the values are the radical character and
// the unified ideograph. False for comments, blank and malformed lines.
bool AddRadicalFormsLine(QStringView line, SourceData& source);

bool ReadRadicalForms(const QString& path, SourceData& source, QString* error);

} // namespace quillory::datagen
