#pragma once
// The lists of a list operation kept as plain data, for the command-line tool.
#include "pages/builders/ListPageBuilder.h"

#include <QString>
#include <string>
#include <vector>

namespace quillory {

struct PlainListSection {
    QString label; // "zhong1", "zung1", "4", or the residual count "3"
    CharacterList chars;
};

class PlainListPage final : public ListPageBuilder {
public:
    void OpenPinyinPage(const std::string& syllable) override;
    void AddPinyinSection(const std::string& syllable, const CharacterList& chars) override;
    void OpenJyutpingPage(const std::string& syllable) override;
    void AddJyutpingSection(const std::string& syllable, const CharacterList& chars) override;
    void AddStrokeSection(int count, const CharacterList& chars) override;
    void OpenRadicalPage(const CharacterList& forms) override;
    void AddRadicalGroup(int residualStrokes, const CharacterList& chars) override;

    QString heading;       // the syllable without tone, or empty
    CharacterList forms;   // radical pages: the radical's forms
    std::vector<PlainListSection> sections;
};

} // namespace quillory
