#pragma once
// What the list operations (characters by syllable, stroke count, radical)
// hand their results to: the HTML page builder for the window, PlainListPage
// for the command-line tool.
#include "dictionary/lists/CharacterList.h"

#include <string>

namespace quillory {

class ListPageBuilder {
public:
    virtual ~ListPageBuilder() = default;
    // syllable: toned text with its tone digit, e.g. "zhong1".
    virtual void openPinyinPage(const std::string& syllable) = 0;
    virtual void addPinyinSection(const std::string& syllable, const CharacterList& chars) = 0;
    virtual void openJyutpingPage(const std::string& syllable) = 0;
    virtual void addJyutpingSection(const std::string& syllable, const CharacterList& chars) = 0;
    virtual void addStrokeSection(int count, const CharacterList& chars) = 0;
    virtual void openRadicalPage(const CharacterList& forms) = 0;
    virtual void addRadicalGroup(int residualStrokes, const CharacterList& chars) = 0;
};

} // namespace quillory
