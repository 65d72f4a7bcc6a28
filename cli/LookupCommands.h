#pragma once
// Runs one look-up request against the dictionary and gives its answer both
// as plain text and as a JSON object.
#include "cli/CommandLine.h"
#include "dictionary/Dictionary.h"
#include "dictionary/text/Romanisation.h"

#include <QJsonObject>
#include <QString>

namespace quillory::cli {

enum ExitStatus { kFound = 0, kNotFound = 1, kBadUsage = 2, kDataUnavailable = 3 };

struct Answer {
    int status = kFound;
    QString text;     // plain-text answer, or the message when status != kFound
    QJsonObject json; // the answer; {"error": message} when status != kFound
};

class LookupCommands {
public:
    explicit LookupCommands(Dictionary& dictionary);
    Answer run(const Request& request);

private:
    Answer character(std::uint32_t code);
    Answer characterText(const QString& text);
    Answer hex(const QString& text);
    Answer word(const QString& text);
    Answer english(const QString& query);
    Answer pinyin(const QString& syllable);
    Answer jyutping(const QString& syllable);
    Answer syllableList(const QString& syllable, Scheme scheme);
    Answer strokes(const QString& count);
    Answer radical(const QString& radical);

    Dictionary& dictionary_;
};

Answer Failure(int status, const QString& message);

// The message of exit status 3: the data in the folder is missing or damaged.
QString DataFolderMessage(const QString& dataFolder);

} // namespace quillory::cli
