#include "pages/builders/PlainListPage.h"

namespace quillory {

namespace {

// The syllable as a heading shows it: without its tone digit.
QString WithoutTone(const std::string& syllable) {
    QString text = QString::fromLatin1(syllable.data(), static_cast<qsizetype>(syllable.size()));
    if (!text.isEmpty() && text.back().isDigit()) {
        text.chop(1);
    }
    return text;
}

QString SyllableLabel(const std::string& syllable) {
    return QString::fromLatin1(syllable.data(), static_cast<qsizetype>(syllable.size()));
}

} // namespace

void PlainListPage::OpenPinyinPage(const std::string& syllable) {
    heading = WithoutTone(syllable);
    heading.replace(QChar(u'v'), QChar(0x00FC));
}

void PlainListPage::AddPinyinSection(const std::string& syllable, const CharacterList& chars) {
    sections.push_back({SyllableLabel(syllable), chars});
}

void PlainListPage::OpenJyutpingPage(const std::string& syllable) {
    heading = WithoutTone(syllable);
}

void PlainListPage::AddJyutpingSection(const std::string& syllable, const CharacterList& chars) {
    sections.push_back({SyllableLabel(syllable), chars});
}

void PlainListPage::AddStrokeSection(int count, const CharacterList& chars) {
    sections.push_back({QString::number(count), chars});
}

void PlainListPage::OpenRadicalPage(const CharacterList& radicalForms) {
    forms = radicalForms;
}

void PlainListPage::AddRadicalGroup(int residualStrokes, const CharacterList& chars) {
    sections.push_back({QString::number(residualStrokes), chars});
}

} // namespace quillory
