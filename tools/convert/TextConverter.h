#pragma once
// ConvertText: text of one kind into another, as the Converter window and
// the command line offer it. Chinese characters convert between simplified
// and traditional forms (OpenCC), into readings word by word (the record
// store's words and frequencies), and into HTML references; Pinyin turns
// into tone-marked HTML; HTML references decode into characters.
#include "tools/convert/ChineseScript.h"
#include "tools/convert/ReadingLexicon.h"
#include "tools/convert/TextKind.h"

#include <QString>
#include <QStringView>
#include <mutex>

namespace quillory {

struct ConversionResult {
    QString text;
    QString error; // empty on success: why nothing was converted
    bool ok() const { return error.isEmpty(); }
};

// One converter serves any number of threads; the word list is read from
// the record store on the first conversion into readings.
class TextConverter {
public:
    explicit TextConverter(QString recordStorePath);

    ConversionResult ConvertText(QStringView text, TextKind from, TextKind to,
                                 ChineseVariant variant = ChineseVariant::Standard);

    // Reads the word list now (it takes a moment); false with the reason
    // when the record store cannot be read.
    bool LoadLexicon(QString* error = nullptr);

private:
    ConversionResult ToReadings(QStringView text, TextKind from, TextKind to, ChineseVariant variant);

    QString recordStorePath_;
    ChineseScript script_;
    std::once_flag lexiconOnce_;
    ReadingLexicon lexicon_;
    QString lexiconError_;
};

} // namespace quillory
