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
    virtual void OpenPinyinPage(const std::string& syllable) = 0;
    virtual void AddPinyinSection(const std::string& syllable, const CharacterList& chars) = 0;
    virtual void OpenJyutpingPage(const std::string& syllable) = 0;
    virtual void AddJyutpingSection(const std::string& syllable, const CharacterList& chars) = 0;
    virtual void AddStrokeSection(int count, const CharacterList& chars) = 0;
    virtual void OpenRadicalPage(const CharacterList& forms) = 0;
    virtual void AddRadicalGroup(int residualStrokes, const CharacterList& chars) = 0;
};

} // namespace quillory
