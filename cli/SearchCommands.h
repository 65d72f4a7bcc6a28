#pragma once
// What the search box finds for a typed text, and the suggestions under it
// while the text is typed: `lookup TEXT` and `suggest PREFIX`.
#include "cli/LookupCommands.h"
#include "dictionary/search/Lookup.h"

namespace quillory::cli {

class SearchCommands {
public:
    explicit SearchCommands(const Dictionary& dictionary);

    // Every match best first: {"query", "kind", "matches": [{"word",
    // "traditional", "pinyin", "jyutping", "english"}]}; plain text one match
    // a line, "word  pinyin  jyutping  english".
    Answer lookup(const QString& text) const;
    // {"prefix", "suggestions": [{"word", "reading", "gloss"}]}; plain text
    // one suggestion a line, "word  reading  gloss".
    Answer suggest(const QString& prefix) const;

private:
    const Lookup& lookup_;
};

} // namespace quillory::cli
