// The window's answer to requests, run on the small data with a fake browser
// pane and fake window actions.
#include "pages/protocol/ProtocolDispatcher.h"

#include "dictionary/Dictionary.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/builders/PageBuilder.h"
#include "pages/protocol/LinkProtocol.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SmallData.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quillory {
namespace {

const auto Pinyin = [](const char* text) { return EncodeSyllable(text, Scheme::Pinyin).value(); };
const auto Jyutping = [](const char* text) { return EncodeSyllable(text, Scheme::Jyutping).value(); };
ProtocolRequest Request(std::uint8_t command, std::uint32_t value) {
    return ProtocolRequest{command, value, std::nullopt};
}
ProtocolRequest TextRequest(std::uint8_t command, const QString& text) {
    return ProtocolRequest{command, 0, text};
}

// Window actions that log every call but the wait cursor's and the refills.
class FakeActions final : public WindowActions {
public:
    void PlaySyllable(const QString& syllable, Scheme scheme) override {
        calls << (scheme == Scheme::Pinyin ? "play pinyin " : "play jyutping ") + syllable;
    }
    void StartStroke(std::uint32_t code, int pixelSize) override {
        calls << QStringLiteral("stroke %1 %2").arg(code, 0, 16).arg(pixelSize);
    }
    void OpenLessonEditor(std::uint32_t lessonId) override {
        calls << "editor " + QString::number(lessonId, 16);
    }
    void OpenHtmlLesson(std::uint32_t lessonId) override { calls << "lesson " + QString::number(lessonId); }
    void OpenAddress(const QString& url) override { calls << "open " + url; }
    void RefillSearchBox() override { ++refills; }
    void BeginWaitCursor() override { ++waitDepth, ++waitBegun; }
    void EndWaitCursor() override { --waitDepth; }

    QStringList calls;
    int refills = 0, waitDepth = 0, waitBegun = 0;
};

// A browser pane that takes the pending name once a navigation "loads".
class FakeView final : public PageView {
public:
    explicit FakeView(const FakeActions& actions) : actions_(actions) {}

    QString PageName() const override { return name; }
    bool SetBody(const QString& html) override {
        if (!bodyAccepted)
            return false;
        bodies.append(html);
        shownWithoutWaitCursor |= actions_.waitDepth != 1;
        return true;
    }
    void SetKeyFilter(bool on) override { keyFilter.push_back(on); }
    void Navigate(const QString& resource, const QString& pendingBody, const QString& pendingName) override {
        navigations.push_back({resource, pendingBody, pendingName});
        shownWithoutWaitCursor |= actions_.waitDepth != 1;
        name = pendingName;
    }
    bool didNothing() const { return bodies.isEmpty() && navigations.empty() && keyFilter.empty(); }

    QString name;
    bool bodyAccepted = true;
    QStringList bodies;
    std::vector<QStringList> navigations; // resource, body, name
    std::vector<bool> keyFilter;
    bool shownWithoutWaitCursor = false;

private:
    const FakeActions& actions_;
};

class ProtocolDispatcherTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        QString error;
        folder_ = new QString(testing::BuildSmallDataFolder(&error));
        ASSERT_FALSE(folder_->isEmpty()) << error.toStdString();
    }
    static void TearDownTestSuite() { delete folder_; }

    void SetUp() override {
        dictionary_ = std::make_unique<Dictionary>(*folder_, reporter_);
        ASSERT_TRUE(dictionary_->Open());
        ASSERT_TRUE(language_.Load(QString()));
        RegisterLabelKeys(language_, names_);
        builder_ = std::make_unique<PageBuilder>(language_, names_, dictionary_->index());
        dispatcher_ = std::make_unique<ProtocolDispatcher>(*dictionary_, *builder_, search_, view_, actions_);
        view_.name = QLatin1String(kIndexPageName);
    }

    // Runs a request and checks that the wait cursor covered it and ended.
    void run(const ProtocolRequest& request) {
        const int begun = actions_.waitBegun;
        view_.shownWithoutWaitCursor = false;
        dispatcher_->OnProtocol(request);
        EXPECT_EQ(actions_.waitBegun, begun + 1);
        EXPECT_EQ(actions_.waitDepth, 0);
        EXPECT_FALSE(view_.shownWithoutWaitCursor);
    }

    QString characterPage(std::uint32_t code) const {
        QString page;
        builder_->MakeCharacterTable(dictionary_->records().characterRecord(code).value(), page, true);
        return page;
    }

    std::vector<SearchHistoryEntry> history() const {
        std::vector<SearchHistoryEntry> entries;
        for (int index : search_.history.usedEntries())
            entries.push_back(search_.history.entry(index));
        return entries;
    }

    static inline QString* folder_ = nullptr;
    RecordingReporter reporter_;
    std::unique_ptr<Dictionary> dictionary_;
    LanguageData language_{reporter_};
    NameRegistry names_;
    std::unique_ptr<PageBuilder> builder_;
    SearchState search_;
    FakeActions actions_;
    FakeView view_{actions_};
    std::unique_ptr<ProtocolDispatcher> dispatcher_;
};

TEST_F(ProtocolDispatcherTest, LookUpsShowTheirPageAndEnterTheHistoryUnderTheirTitle) {
    const QString word = QStringLiteral("中国");
    const WordEntry entry = dictionary_->records().wordEntry(word).value();
    QString wordPage;
    builder_->MakeWordTable(word, entry.pinyin, entry.jyutping, entry.english, wordPage);
    // The list page a list command shows; its title is checked in the rows.
    const auto list = [&](std::uint8_t command, std::uint32_t value) {
        HtmlListPage page(*builder_);
        QString title;
        CharacterLists& lists = dictionary_->lists();
        EXPECT_TRUE(command == kListPinyin        ? lists.ListByPinyin(value, page, title)
                    : command == kListJyutping    ? lists.ListByJyutping(value, page, title)
                    : command == kListStrokeCount ? lists.ListByStrokeCount(int(value), page, title)
                                                  : lists.ListByRadical(int(value), page, title));
        return page.html();
    };
    struct Case {
        ProtocolRequest request;
        QString page;     // empty: only the fragment is checked
        QString fragment; // a link or text the page holds
        SearchHistoryEntry entry;
    };
    const Case cases[] = {
        {Request(kShowCharacter, 0x4E2D), characterPage(0x4E2D), "mmpp://5=4E2D", {0, 0x4E2D, "中"}},
        {TextRequest(kShowHexCode, "4e2d"), characterPage(0x4E2D), "mmpp://5=4E2D", {10, 0, "4e2d"}},
        {TextRequest(kShowWord, word), wordPage, "China", {6, 0, word}},
        {TextRequest(kShowEnglish, "China"), {}, "mmpp://0=4E2D", {7, 0, "China"}},
        {Request(kListPinyin, Pinyin("zhong1")),
         list(kListPinyin, Pinyin("zhong1")),
         "chars\">&#x4E",
         {kListPinyin, Pinyin("zhong1"), "[zhong]"}},
        {Request(kListJyutping, Jyutping("zung1")),
         list(kListJyutping, Jyutping("zung1")),
         "chars\">&#x4E",
         {kListJyutping, Jyutping("zung1"), "[zung1]"}},
        {Request(kListStrokeCount, 4),
         list(kListStrokeCount, 4),
         "chars\">&#x4E",
         {kListStrokeCount, 4, "[4]"}},
        {Request(kListRadical, 2), list(kListRadical, 2), "chars\">&#x4E", {kListRadical, 2, "[丨]"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.request.command));
        view_.bodies.clear();
        run(c.request);
        ASSERT_EQ(view_.bodies.size(), 1);
        if (!c.page.isEmpty()) {
            EXPECT_EQ(view_.bodies[0], c.page);
        }
        EXPECT_TRUE(view_.bodies[0].contains(c.fragment));
        EXPECT_EQ(search_.history.entry(0), c.entry);
    }
    EXPECT_EQ(history().size(), std::size(cases));
    EXPECT_EQ(actions_.refills, int(std::size(cases)));
}

TEST_F(ProtocolDispatcherTest, FailedLookUpsShowNothingAndLeaveTheHistory) {
    search_.history.AddToHistory(8, 4, QStringLiteral("[4]"));
    // Characters not in the data or no characters at all, unknown texts, text commands without their
    // text, no syllable ids, stroke counts and radicals out of range.
    const std::tuple<std::uint8_t, std::uint32_t, const char*> failing[] = {
        {kShowCharacter, 0x9FA0, nullptr},
        {kShowCharacter, 0xD800, nullptr},
        {kShowCharacter, 0xFFFFFFFF, nullptr},
        {kShowHexCode, 0, "9FA0"},
        {kShowWord, 0, "中中中中"},
        {kShowEnglish, 0, "xyzzyplugh"},
        {kShowWord, 0x4E2D, nullptr},
        {kShowEnglish, 0, nullptr},
        {kShowHexCode, 0x4E2D, nullptr},
        {kListPinyin, 0xFFFF, nullptr},
        {kListJyutping, 0xFFFF, nullptr},
        {kListStrokeCount, 200, nullptr},
        {kListStrokeCount, 0xFFFFFFFF, nullptr},
        {kListRadical, 999, nullptr}};
    for (const auto& [command, value, text] : failing)
        run(ProtocolRequest{command, value, text ? std::optional(QString::fromUtf8(text)) : std::nullopt});
    run(Request(kListPinyin, 0x10000u + Pinyin("zhong1")));
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(actions_.calls.isEmpty());
    EXPECT_EQ(actions_.refills, 0);
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{8, 4, QStringLiteral("[4]")}}));
}

TEST_F(ProtocolDispatcherTest, SoundsActionsAndUnknownCommandsShowNoPage) {
    for (const ProtocolRequest& request :
         {Request(kPlayPinyin, Pinyin("zhong1")), Request(kPlayJyutping, Jyutping("zung1")),
          Request(kPlayPinyin, 0xFFFF),                         // no syllable
          Request(kPlayJyutping, 0x10000u + Jyutping("zung1")), // out of the id range
          Request(kShowStrokeOrder, 0x4E2D), Request(kOpenSupport, 1), Request(kOpenSupport, 5),
          Request(kOpenLessonEditor, WindowActions::kNoLesson), Request(kOpenLessonEditor, 7),
          Request(kOpenHtmlLesson, 3), Request(11, 0x4E2D), Request(12, 0x4E2D), Request(16, 0x4E2D),
          Request(255, 0x4E2D)})
        run(request);
    EXPECT_EQ(actions_.calls,
              QStringList({"play pinyin zhong1", "play jyutping zung1", "stroke 4e2d 216",
                           "open https://www.tessaravin.example/support.php?todo=1&prod=Quillory&ver=1.0",
                           "open https://www.tessaravin.example/support.php?todo=5&prod=Quillory&ver=1.0",
                           "editor ffffffff", "editor 7", "lesson 3"}));
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(actions_.refills, 0);
}

TEST_F(ProtocolDispatcherTest, EntryPagesReplaceTheBodyOnlyOnTheResultPage) {
    // The support page is shown: the result page is loaded with the page as its pending body.
    view_.name = QLatin1String(kSupportPageName);
    run(Request(kShowCharacter, 0x4E2D));
    ASSERT_EQ(view_.navigations.size(), 1u);
    EXPECT_EQ(view_.navigations[0],
              QStringList({"index.html", characterPage(0x4E2D), QLatin1String(kIndexPageName)}));
    EXPECT_EQ(view_.keyFilter, std::vector<bool>{true});
    EXPECT_TRUE(view_.bodies.isEmpty());

    // Now the result page is shown: only the body is replaced.
    run(Request(kShowCharacter, 0x4E00));
    EXPECT_EQ(view_.navigations.size(), 1u);
    EXPECT_EQ(view_.bodies, QStringList{characterPage(0x4E00)});

    // The name compares without regard to case.
    view_.name = QStringLiteral("oxa.local.index.html");
    dispatcher_->ShowEntryPage(QStringLiteral("<p>x</p>"));
    EXPECT_EQ(view_.bodies.size(), 2);
    EXPECT_EQ(view_.navigations.size(), 1u);

    view_.name.clear(); // the page script did not answer: the page is loaded afresh
    dispatcher_->ShowEntryPage(QStringLiteral("<p>a</p>"));
    ASSERT_EQ(view_.navigations.size(), 2u);
    EXPECT_EQ(view_.navigations[1][1], QStringLiteral("<p>a</p>"));

    // The result page is named but its document is not loaded yet: the page is not lost.
    view_.bodyAccepted = false;
    run(Request(kShowCharacter, 0x4E2D));
    ASSERT_EQ(view_.navigations.size(), 3u);
    EXPECT_EQ(view_.navigations[2][1], characterPage(0x4E2D));
    EXPECT_EQ(search_.history.entry(0).text, QStringLiteral("中"));
}

TEST_F(ProtocolDispatcherTest, ShowingTheSamePageTwiceKeepsOneHistoryEntry) {
    const ProtocolRequest zhong = Request(kListPinyin, Pinyin("zhong1"));
    run(zhong);
    run(zhong);
    EXPECT_EQ(history().size(), 1u);
    run(Request(kListStrokeCount, 4));
    run(zhong);
    ASSERT_EQ(history().size(), 2u);
    EXPECT_EQ(search_.history.entry(0).text, QStringLiteral("[zhong]"));
    EXPECT_EQ(search_.history.entry(1).text, QStringLiteral("[4]"));
    EXPECT_EQ(actions_.refills, 4);
}

TEST_F(ProtocolDispatcherTest, PageLinksRunThroughTheDispatcherButNeverAsText) {
    for (const char* address :
         {"mmpp://0=4e2d", "mmpp://6=4E2D", "mmpp://7=1", "mmpp://A=4E2D", "mmpp://0"}) {
        const NavigationDecision decision = DecideNavigation(QString::fromLatin1(address));
        EXPECT_TRUE(decision.cancel);
        if (decision.post)
            run(*decision.post);
    }
    EXPECT_EQ(view_.bodies, QStringList{characterPage(0x4E2D)});
    EXPECT_EQ(history().size(), 1u);
}

TEST(LanguageRefresh, RepostsRelabelledPagesOfTheResultPageAndShowsTheSupportPageAgain) {
    using Action = LanguageRefresh::Action;
    const QString index = QLatin1String(kIndexPageName);
    SearchHistory history;
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, Action::Nothing);

    history.AddToHistory(kShowCharacter, 0x4E2D, QStringLiteral("中"));
    LanguageRefresh refresh = DecideLanguageRefresh(QStringLiteral("oxa.local.index.html"), history);
    EXPECT_EQ(refresh.action, Action::Repost);
    EXPECT_EQ(refresh.request, Request(kShowCharacter, 0x4E2D));
    // The support page is shown again; other pages stay as they are.
    EXPECT_EQ(DecideLanguageRefresh(QLatin1String(kSupportPageName), history).action, Action::ShowSupport);
    for (const QString& other : {QString(kAboutPageName), QStringLiteral("No Name"), QString()})
        EXPECT_EQ(DecideLanguageRefresh(other, history).action, Action::Nothing) << other.toStdString();

    history.AddToHistory(kListRadical, 2, QStringLiteral("[丨]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).request, Request(kListRadical, 2));

    // A text entry read back from the file replays its text, whatever its value.
    history.AddToHistory(kShowEnglish, 0x2A, QStringLiteral("China"));
    refresh = DecideLanguageRefresh(index, history);
    EXPECT_EQ(refresh.action, Action::Repost);
    EXPECT_EQ(refresh.request, TextRequest(kShowEnglish, QStringLiteral("China")));

    // Syllable lists stay as they are.
    history.AddToHistory(kListPinyin, Pinyin("zhong1"), QStringLiteral("[zhong]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, Action::Nothing);
    history.AddToHistory(kListJyutping, Jyutping("zung1"), QStringLiteral("[zung1]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, Action::Nothing);
}

TEST_F(ProtocolDispatcherTest, FixedPagesLoadTheirShellWithTheirBody) {
    ShowFixedPage(view_, SupportPage(*builder_));
    ShowFixedPage(view_, AboutPage(*builder_));
    ShowFixedPage(view_, WelcomePage(*builder_));
    QString support, version, welcome;
    builder_->MakeSupportBody(support);
    builder_->MakeVersionBlock(version);
    builder_->MakeWelcomeBody(welcome);
    EXPECT_EQ(view_.navigations,
              (std::vector<QStringList>{{"tech.html", support, QLatin1String(kSupportPageName)},
                                        {"about.html", version, QLatin1String(kAboutPageName)},
                                        {"index.html", welcome, QLatin1String(kIndexPageName)}}));
    // Off for the support page, unchanged for About, on for the welcome page.
    EXPECT_EQ(view_.keyFilter, (std::vector<bool>{false, true}));
    EXPECT_EQ(view_.PageName(), QLatin1String(kIndexPageName));
}

} // namespace
} // namespace quillory
