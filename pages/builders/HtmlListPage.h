#pragma once
// The list pages of the window (characters of a syllable, a stroke count or a
// radical) as HTML, built section by section as the list operations report.
#include "pages/builders/ListPageBuilder.h"
#include "pages/builders/PageBuilder.h"

#include <QString>

namespace quillory {

class HtmlListPage final : public ListPageBuilder {
public:
    explicit HtmlListPage(const PageBuilder& builder) : builder_(builder) {}

    void OpenPinyinPage(const std::string& syllable) override;
    void AddPinyinSection(const std::string& syllable, const CharacterList& chars) override;
    void OpenJyutpingPage(const std::string& syllable) override;
    void AddJyutpingSection(const std::string& syllable, const CharacterList& chars) override;
    void AddStrokeSection(int count, const CharacterList& chars) override;
    void OpenRadicalPage(const CharacterList& forms) override;
    void AddRadicalGroup(int residualStrokes, const CharacterList& chars) override;

    const QString& html() const { return html_; }
    // Starts an empty page; stroke-count pages have no opening part.
    void clear() { html_.clear(); }

private:
    const PageBuilder& builder_;
    QString html_;
};

} // namespace quillory
