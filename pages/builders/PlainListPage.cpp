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

void PlainListPage::openPinyinPage(const std::string& syllable) {
    heading = WithoutTone(syllable);
    heading.replace(QChar(u'v'), QChar(0x00FC));
}

void PlainListPage::addPinyinSection(const std::string& syllable, const CharacterList& chars) {
    sections.push_back({SyllableLabel(syllable), chars});
}

void PlainListPage::openJyutpingPage(const std::string& syllable) {
    heading = WithoutTone(syllable);
}

void PlainListPage::addJyutpingSection(const std::string& syllable, const CharacterList& chars) {
    sections.push_back({SyllableLabel(syllable), chars});
}

void PlainListPage::addStrokeSection(int count, const CharacterList& chars) {
    sections.push_back({QString::number(count), chars});
}

void PlainListPage::openRadicalPage(const CharacterList& radicalForms) {
    forms = radicalForms;
}

void PlainListPage::addRadicalGroup(int residualStrokes, const CharacterList& chars) {
    sections.push_back({QString::number(residualStrokes), chars});
}

} // namespace quillory
