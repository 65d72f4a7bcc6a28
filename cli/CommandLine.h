#pragma once
// Splits a command line of the look-up tool into words and parses one
// look-up request from them.
#include <QString>
#include <QStringList>
#include <optional>

namespace quillory::cli {

// Words separated by blanks; double or single quotes group blanks into one
// word when they open a word ("to study", '168''). An apostrophe inside a
// word stays part of it (168'). False when a quote is left open.
bool SplitCommandWords(const QString& line, QStringList& words);

enum class RequestKind {
    Character,
    Hex,
    Word,
    English,
    Pinyin,
    Jyutping,
    Strokes,
    Radical,
    Page,
    Render,
    Search,
    StrokesOf,
    Lookup,
    Suggest
};

struct Request {
    RequestKind kind = RequestKind::Character;
    QString argument;
};

// nullopt with a usage message when the words are no valid request.
std::optional<Request> ParseRequest(const QStringList& words, QString* usageError);

QString UsageText();

// Search-box commands are answered by SearchCommands.
constexpr bool IsSearchBoxRequest(RequestKind kind) {
    return kind == RequestKind::Lookup || kind == RequestKind::Suggest;
}

// Page commands are answered by PageCommands, the others by LookupCommands.
constexpr bool IsPageRequest(RequestKind kind) {
    return kind == RequestKind::Page || kind == RequestKind::Render || kind == RequestKind::Search;
}

} // namespace quillory::cli
