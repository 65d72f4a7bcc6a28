#include "pages/builders/HtmlListPage.h"

namespace quillory {

// The opening parts replace the page; sections and groups are appended.

void HtmlListPage::OpenPinyinPage(const std::string& syllable) {
    builder_.MakePinyinHeading(syllable, html_);
}

void HtmlListPage::AddPinyinSection(const std::string& syllable, const CharacterList& chars) {
    builder_.MakePinyinSection(syllable, chars, html_);
}

void HtmlListPage::OpenJyutpingPage(const std::string& syllable) {
    builder_.MakeJyutpingHeading(syllable, html_);
}

void HtmlListPage::AddJyutpingSection(const std::string& syllable, const CharacterList& chars) {
    builder_.MakeJyutpingSection(syllable, chars, html_);
}

void HtmlListPage::AddStrokeSection(int count, const CharacterList& chars) {
    builder_.MakeStrokeSection(count, chars, html_);
}

void HtmlListPage::OpenRadicalPage(const CharacterList& forms) {
    builder_.MakeRadicalForms(forms, html_);
}

void HtmlListPage::AddRadicalGroup(int residualStrokes, const CharacterList& chars) {
    builder_.MakeRadicalGroup(residualStrokes, chars, html_);
}

} // namespace quillory
