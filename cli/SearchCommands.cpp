#include "cli/SearchCommands.h"

#include <QJsonArray>
#include <QStringList>

namespace quillory::cli {

namespace {

// The columns of a plain-text line, two blanks apart; "-" for an empty one.
QString Line(const QStringList& columns) {
    QStringList shown;
    for (const QString& column : columns) {
        shown.append(column.isEmpty() ? QStringLiteral("-") : column);
    }
    return shown.join(QStringLiteral("  ")) + u'\n';
}

QString NotFound(const QString& text) {
    return QStringLiteral("No results were found for \"%1\".").arg(text);
}

} // namespace

SearchCommands::SearchCommands(const Dictionary& dictionary) : lookup_(dictionary.lookup()) {}

Answer SearchCommands::lookup(const QString& text) const {
    const LookupResult result = lookup_.Find(text);
    const std::vector<LookupMatch> matches = result.all();
    if (matches.empty()) {
        return Failure(kNotFound, NotFound(result.query));
    }
    Answer answer;
    QJsonArray list;
    for (const LookupMatch& match : matches) {
        list.append(QJsonObject{{QStringLiteral("word"), match.word},
                                {QStringLiteral("traditional"), match.traditional},
                                {QStringLiteral("pinyin"), match.pinyin},
                                {QStringLiteral("jyutping"), match.jyutping},
                                {QStringLiteral("english"), match.english}});
        answer.text += Line({match.word, match.pinyin, match.jyutping, match.english});
    }
    answer.json.insert(QStringLiteral("query"), result.query);
    answer.json.insert(QStringLiteral("kind"), LookupKindName(result.kind));
    answer.json.insert(QStringLiteral("matches"), list);
    return answer;
}

Answer SearchCommands::suggest(const QString& prefix) const {
    const std::vector<Suggestion> suggestions = lookup_.Suggest(prefix);
    if (suggestions.empty()) {
        return Failure(kNotFound, NotFound(prefix.trimmed()));
    }
    Answer answer;
    QJsonArray list;
    for (const Suggestion& suggestion : suggestions) {
        list.append(QJsonObject{{QStringLiteral("word"), suggestion.word},
                                {QStringLiteral("reading"), suggestion.reading},
                                {QStringLiteral("gloss"), suggestion.gloss}});
        answer.text += Line({suggestion.word, suggestion.reading, suggestion.gloss});
    }
    answer.json.insert(QStringLiteral("prefix"), prefix.trimmed());
    answer.json.insert(QStringLiteral("suggestions"), list);
    return answer;
}

} // namespace quillory::cli
