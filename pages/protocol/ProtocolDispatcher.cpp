#include "pages/protocol/ProtocolDispatcher.h"

#include "dictionary/Dictionary.h"
#include "dictionary/search/QueryClassifier.h"
#include "dictionary/text/TextRules.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/builders/PageBuilder.h"
#include "pages/builders/ReadingSection.h"

#include <vector>

namespace quillory {
namespace {

const QString kIndexResource = QStringLiteral("index.html");

bool IsPageNamed(const QString& name, const char* pageName) {
    return name.compare(QLatin1String(pageName), Qt::CaseInsensitive) == 0;
}

// A syllable id travels in 32 bits; larger values name no syllable.
std::optional<SyllableId> ToSyllableId(std::uint32_t value) {
    if (value > 0xFFFF)
        return std::nullopt;
    return static_cast<SyllableId>(value);
}

bool IsUnicodeScalar(std::uint32_t code) {
    return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// The characters of a syllable page, every tone's in the page's order.
class SyllableCharacters final : public ListPageBuilder {
public:
    CharacterList list;

    void OpenPinyinPage(const std::string&) override {}
    void AddPinyinSection(const std::string&, const CharacterList& chars) override { Add(chars); }
    void OpenJyutpingPage(const std::string&) override {}
    void AddJyutpingSection(const std::string&, const CharacterList& chars) override { Add(chars); }
    void AddStrokeSection(int, const CharacterList&) override {}
    void OpenRadicalPage(const CharacterList&) override {}
    void AddRadicalGroup(int, const CharacterList&) override {}

private:
    void Add(const CharacterList& chars) { list.insert(list.end(), chars.begin(), chars.end()); }
};

} // namespace

ProtocolDispatcher::ProtocolDispatcher(Dictionary& dictionary, const PageBuilder& builder,
                                       SearchState& search, PageView& view, PageActions& page,
                                       StrokeActions* stroke, LessonActions* lessons)
    : dictionary_(dictionary), builder_(builder), search_(search), view_(view), actions_(page),
      stroke_(stroke), lessons_(lessons) {}

void ProtocolDispatcher::OnProtocol(const ProtocolRequest& request) {
    const WaitCursorGuard waitCursor(actions_);
    switch (request.command) {
    case kPlayPinyin:
        PlaySound(request.value, Scheme::Pinyin);
        return;
    case kPlayJyutping:
        PlaySound(request.value, Scheme::Jyutping);
        return;
    case kShowStrokeOrder:
        if (stroke_)
            stroke_->StartStroke(request.value, kStrokePlayerPixelSize);
        return;
    case kOpenSupport:
        actions_.OpenAddress(SupportAddress(request.value));
        return;
    case kOpenLessonEditor:
        if (lessons_)
            lessons_->OpenLessonEditor(request.value);
        return;
    case kOpenHtmlLesson:
        if (lessons_)
            lessons_->OpenHtmlLesson(request.value);
        return;
    default:
        break;
    }

    QString page;
    QString title;
    if (!BuildPage(request, page, title))
        return;
    ShowEntryPage(page);
    // A text command is identified by its text; its value means nothing.
    search_.history.AddToHistory(request.command, IsTextCommand(request.command) ? 0 : request.value, title);
    actions_.RefillSearchBox();
}

void ProtocolDispatcher::ShowEntryPage(const QString& page) {
    // Replacing the body fails while no document is loaded; loading the
    // result page then keeps the page from being lost.
    if (IsPageNamed(view_.PageName(), kIndexPageName) && view_.SetBody(page))
        return;
    view_.SetKeyFilter(true);
    view_.Navigate(kIndexResource, page, QLatin1String(kIndexPageName));
}

bool ProtocolDispatcher::BuildPage(const ProtocolRequest& request, QString& page, QString& title) {
    CharacterLists& lists = dictionary_.lists();
    HtmlListPage listPage(builder_);
    bool found = false;
    switch (request.command) {
    case kShowCharacter:
        if (!BuildCharacterPage(request.value, page))
            return false;
        title = CodePointText(request.value);
        return true;
    case kListPinyin:
        if (const std::optional<SyllableId> id = ToSyllableId(request.value))
            found = lists.ListByPinyin(*id, listPage, title);
        break;
    case kListJyutping:
        if (const std::optional<SyllableId> id = ToSyllableId(request.value))
            found = lists.ListByJyutping(*id, listPage, title);
        break;
    case kListStrokeCount:
        found = lists.ListByStrokeCount(static_cast<int>(request.value), listPage, title);
        break;
    case kListRadical:
        found = lists.ListByRadical(static_cast<int>(request.value), listPage, title);
        break;
    case kShowWord:
        if (!request.text || !BuildWordPage(*request.text, page))
            return false;
        title = *request.text;
        return true;
    case kShowEnglish:
        if (!request.text || !BuildEnglishPage(*request.text, page))
            return false;
        title = *request.text;
        return true;
    case kShowHexCode:
        if (!request.text || !BuildCharacterPage(HexValue(*request.text), page))
            return false;
        title = *request.text;
        return true;
    default:
        return false;
    }
    // A stroke count without characters yields no page at all.
    if (!found || listPage.html().isEmpty())
        return false;
    page = listPage.html();
    return true;
}

bool ProtocolDispatcher::BuildCharacterPage(std::uint32_t code, QString& page) {
    if (!IsUnicodeScalar(code))
        return false;
    const std::optional<CharacterRecord> record = dictionary_.records().characterRecord(code);
    if (!record)
        return false;
    builder_.MakeCharacterTable(*record, page, true);
    return true;
}

bool ProtocolDispatcher::BuildWordPage(const QString& word, QString& page) {
    const std::optional<WordEntry> entry = dictionary_.records().wordEntry(word);
    if (!entry)
        return false;
    builder_.MakeWordTable(word, entry->pinyin, entry->jyutping, entry->english, page);
    return true;
}

// The English command's page for romanised text: the words whose Pinyin or
// Jyutping matches (ReadingSection, with the syllable's characters from the
// syllable page) above the English table. Text that reads only as English
// gets the English table alone, as it always did; text that matches nothing
// gets no page.
bool ProtocolDispatcher::BuildEnglishPage(const QString& english, QString& page) {
    const LookupResult result = dictionary_.lookup().Find(english);
    if (result.readings.empty() && result.english.empty())
        return false;
    ReadingSection readings(builder_, [this](Scheme scheme, SyllableId id) {
        SyllableCharacters characters;
        QString title;
        if (scheme == Scheme::Pinyin)
            dictionary_.lists().ListByPinyin(id, characters, title);
        else
            dictionary_.lists().ListByJyutping(id, characters, title);
        return characters.list;
    });
    readings.Make(result.readings, page);
    if (result.english.empty())
        return true;
    std::vector<EnglishTableEntry> entries;
    entries.reserve(result.english.size());
    for (const LookupMatch& match : result.english)
        entries.push_back(EnglishTableEntry{match.word, match.pinyin});
    builder_.MakeEnglishTable(english, entries, page);
    return true;
}

void ProtocolDispatcher::PlaySound(std::uint32_t value, Scheme scheme) {
    const std::optional<SyllableId> id = ToSyllableId(value);
    if (!id)
        return;
    if (const std::optional<std::string> syllable = DecodeSyllable(*id, scheme))
        actions_.PlaySyllable(QString::fromStdString(*syllable), scheme);
}

QString SupportAddress(std::uint32_t topic) {
    const QByteArray version = QByteArray(kVersionMajor) + '.' + kVersionMinor;
    return QString::asprintf("%s%s?todo=%d&prod=%s&ver=%s", kMakerSiteAddress, "support.php",
                             static_cast<int>(topic), "Quillory", version.constData());
}

FixedPage WelcomePage(const PageBuilder& builder) {
    FixedPage page{true, kIndexResource, {}, QLatin1String(kIndexPageName)};
    builder.MakeWelcomeBody(page.body);
    return page;
}

FixedPage SupportPage(const PageBuilder& builder) {
    FixedPage page{false, QStringLiteral("tech.html"), {}, QLatin1String(kSupportPageName)};
    builder.MakeSupportBody(page.body);
    return page;
}

FixedPage AboutPage(const PageBuilder& builder) {
    FixedPage page{std::nullopt, QStringLiteral("about.html"), {}, QLatin1String(kAboutPageName)};
    builder.MakeVersionBlock(page.body);
    return page;
}

void ShowFixedPage(PageView& view, const FixedPage& page) {
    if (page.keyFilter)
        view.SetKeyFilter(*page.keyFilter);
    view.Navigate(page.resourceName, page.body, page.pageName);
}

LanguageRefresh DecideLanguageRefresh(const QString& pageName, const SearchHistory& history) {
    if (IsPageNamed(pageName, kSupportPageName))
        return LanguageRefresh{LanguageRefresh::Action::ShowSupport, std::nullopt};
    if (!IsPageNamed(pageName, kIndexPageName))
        return {};
    const SearchHistoryEntry& shown = history.entry(0);
    const bool relabelled =
        shown.command == kShowCharacter || (shown.command >= kShowWord && shown.command <= kShowHexCode);
    if (shown.isEmpty() || !relabelled)
        return {};
    return LanguageRefresh{LanguageRefresh::Action::Repost, RequestForEntry(shown)};
}

} // namespace quillory
