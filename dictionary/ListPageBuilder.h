#pragma once
// What the list operations (characters by syllable, stroke count, radical)
// hand their results to. The HTML page builder implements it for the window;
// PlainListPage keeps the lists as plain data for the command-line tool.
#include "CharacterList.h"

#include <QString>
#include <string>
#include <vector>

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

struct PlainListSection {
    QString label; // "zhong1", "zung1", "4", or the residual count "3"
    CharacterList chars;
};

class PlainListPage final : public ListPageBuilder {
public:
    void openPinyinPage(const std::string& syllable) override;
    void addPinyinSection(const std::string& syllable, const CharacterList& chars) override;
    void openJyutpingPage(const std::string& syllable) override;
    void addJyutpingSection(const std::string& syllable, const CharacterList& chars) override;
    void addStrokeSection(int count, const CharacterList& chars) override;
    void openRadicalPage(const CharacterList& forms) override;
    void addRadicalGroup(int residualStrokes, const CharacterList& chars) override;

    QString heading;       // the syllable without tone, or empty
    CharacterList forms;   // radical pages: the radical's forms
    std::vector<PlainListSection> sections;
};

} // namespace quillory
