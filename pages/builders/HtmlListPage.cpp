#include "pages/builders/HtmlListPage.h"

namespace quillory {

// The opening parts replace the page; sections and groups are appended.

void HtmlListPage::openPinyinPage(const std::string& syllable) {
    builder_.MakePinyinHeading(syllable, html_);
}

void HtmlListPage::addPinyinSection(const std::string& syllable, const CharacterList& chars) {
    builder_.MakePinyinSection(syllable, chars, html_);
}

void HtmlListPage::openJyutpingPage(const std::string& syllable) {
    builder_.MakeJyutpingHeading(syllable, html_);
}

void HtmlListPage::addJyutpingSection(const std::string& syllable, const CharacterList& chars) {
    builder_.MakeJyutpingSection(syllable, chars, html_);
}

void HtmlListPage::addStrokeSection(int count, const CharacterList& chars) {
    builder_.MakeStrokeSection(count, chars, html_);
}

void HtmlListPage::openRadicalPage(const CharacterList& forms) {
    builder_.MakeRadicalForms(forms, html_);
}

void HtmlListPage::addRadicalGroup(int residualStrokes, const CharacterList& chars) {
    builder_.MakeRadicalGroup(residualStrokes, chars, html_);
}

} // namespace quillory
