#pragma once
// The main window's answer to requests: looks up what a request asks for,
// puts the built page into the browser and records it in the history, or
// hands the request to the window's other actions. Also the window's fixed
// pages and what a change of interface language re-shows.
#include "pages/protocol/ProtocolRequest.h"
#include "pages/protocol/SearchActions.h"
#include "pages/protocol/PageView.h"
#include "pages/protocol/WindowActions.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace quillory {

class Dictionary;
class PageBuilder;

// Names the shown pages give themselves.
inline constexpr char kIndexPageName[] = "OXA.LOCAL.INDEX.HTML";
inline constexpr char kSupportPageName[] = "OXA.LOCAL.TECH.HTML";
inline constexpr char kAboutPageName[] = "OXA.LOCAL.ABOUT.HTML";

// Pixel size the stroke player draws characters at.
inline constexpr int kStrokePlayerPixelSize = 216;

class ProtocolDispatcher {
public:
    // A feature without actions (nullptr) leaves its requests undone.
    ProtocolDispatcher(Dictionary& dictionary, const PageBuilder& builder, SearchState& search,
                       PageView& view, PageActions& page, StrokeActions* stroke = nullptr,
                       LessonActions* lessons = nullptr);
    ProtocolDispatcher(Dictionary& dictionary, const PageBuilder& builder, SearchState& search,
                       PageView& view, WindowActions& actions)
        : ProtocolDispatcher(dictionary, builder, search, view, actions, &actions, &actions) {}

    // Runs one request. A look-up that finds nothing shows nothing and leaves
    // the history as it was; unknown commands do nothing.
    void OnProtocol(const ProtocolRequest& request);

    // Shows a built page: the body of the shown result page is replaced, or
    // the result page is loaded first.
    void ShowEntryPage(const QString& page);

private:
    // The page and its history title; false when the look-up failed.
    bool BuildPage(const ProtocolRequest& request, QString& page, QString& title);
    bool BuildCharacterPage(std::uint32_t code, QString& page);
    bool BuildWordPage(const QString& word, QString& page);
    bool BuildEnglishPage(const QString& english, QString& page);
    void PlaySound(std::uint32_t value, Scheme scheme);

    Dictionary& dictionary_;
    const PageBuilder& builder_;
    SearchState& search_;
    PageView& view_;
    PageActions& actions_;
    StrokeActions* stroke_;
    LessonActions* lessons_;
};

// The maker's support page for a topic (1 FAQ, 2 bug report, 3 technical
// request, 4 useful links, 5 suggestions).
QString SupportAddress(std::uint32_t topic);

// A fixed page of the window: the embedded shell, the body put into it and
// the page's name; the key filter is set first when given.
struct FixedPage {
    std::optional<bool> keyFilter;
    QString resourceName;
    QString body;
    QString pageName;
};
FixedPage WelcomePage(const PageBuilder& builder);
FixedPage SupportPage(const PageBuilder& builder);
FixedPage AboutPage(const PageBuilder& builder);
void ShowFixedPage(PageView& view, const FixedPage& page);

// What to show again after the interface language changed, so that it takes
// the new labels: on the result page, the page of history entry 0 is
// requested again when it is a character, word, English, stroke-count,
// radical or code page; the support page is shown again; anything else stays.
struct LanguageRefresh {
    enum class Action { Nothing, Repost, ShowSupport };
    Action action = Action::Nothing;
    std::optional<ProtocolRequest> request; // with Repost
};
LanguageRefresh DecideLanguageRefresh(const QString& pageName, const SearchHistory& history);

} // namespace quillory
