// The window's answer to requests, run on the small data with a fake browser
// pane and fake window actions.
#include "pages/protocol/ProtocolDispatcher.h"

#include "dictionary/Dictionary.h"
#include "pages/builders/HtmlListPage.h"
#include "pages/protocol/LinkProtocol.h"
#include "pages/builders/PageBuilder.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SmallData.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace quillory {
namespace {

SyllableId Pinyin(const char* text) {
    return EncodeSyllable(text, Scheme::Pinyin).value();
}
SyllableId Jyutping(const char* text) {
    return EncodeSyllable(text, Scheme::Jyutping).value();
}
ProtocolRequest Request(std::uint8_t command, std::uint32_t value) {
    return ProtocolRequest{command, value, std::nullopt};
}
ProtocolRequest TextRequest(std::uint8_t command, const QString& text) {
    return ProtocolRequest{command, 0, text};
}

class FakeActions final : public WindowActions {
public:
    void PlaySyllable(const QString& syllable, Scheme scheme) override {
        played.push_back({syllable, scheme});
    }
    void StartStroke(std::uint32_t code, int pixelSize) override { strokes.push_back({code, pixelSize}); }
    void OpenLessonEditor(std::uint32_t lessonId) override { lessonEditor.push_back(lessonId); }
    void OpenHtmlLesson(std::uint32_t lessonId) override { htmlLessons.push_back(lessonId); }
    void OpenAddress(const QString& url) override { addresses.append(url); }
    void RefillSearchBox() override { ++refills; }
    void BeginWaitCursor() override {
        ++waitDepth;
        ++waitBegun;
    }
    void EndWaitCursor() override { --waitDepth; }

    bool didNothing() const {
        return played.empty() && strokes.empty() && lessonEditor.empty() && htmlLessons.empty() &&
               addresses.isEmpty() && refills == 0;
    }

    std::vector<std::pair<QString, Scheme>> played;
    std::vector<std::pair<std::uint32_t, int>> strokes;
    std::vector<std::uint32_t> lessonEditor;
    std::vector<std::uint32_t> htmlLessons;
    QStringList addresses;
    int refills = 0;
    int waitDepth = 0;
    int waitBegun = 0;
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

    struct Navigation {
        QString resource;
        QString body;
        QString name;
    };
    QString name;
    bool bodyAccepted = true;
    QStringList bodies;
    std::vector<Navigation> navigations;
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
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }

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

    static QString* folder_;
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

QString* ProtocolDispatcherTest::folder_ = nullptr;

TEST_F(ProtocolDispatcherTest, ACharacterShowsItsTableAndEntersTheHistory) {
    run(Request(kShowCharacter, 0x4E2D));
    ASSERT_EQ(view_.bodies.size(), 1);
    EXPECT_EQ(view_.bodies[0], characterPage(0x4E2D));
    EXPECT_TRUE(view_.bodies[0].contains(QStringLiteral("mmpp://5=4E2D")));
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{0, 0x4E2D, QStringLiteral("中")}}));
    EXPECT_EQ(actions_.refills, 1);
}

TEST_F(ProtocolDispatcherTest, AHexCodeShowsTheCharacterUnderTheTypedTitle) {
    run(TextRequest(kShowHexCode, QStringLiteral("4e2d")));
    ASSERT_EQ(view_.bodies.size(), 1);
    EXPECT_EQ(view_.bodies[0], characterPage(0x4E2D));
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{10, 0, QStringLiteral("4e2d")}}));
}

TEST_F(ProtocolDispatcherTest, ListCommandsShowTheListPageUnderItsTitle) {
    CharacterLists& lists = dictionary_->lists();
    struct Case {
        ProtocolRequest request;
        std::function<bool(ListPageBuilder&, QString&)> list;
    };
    const std::vector<Case> cases = {
        {Request(kListPinyin, Pinyin("zhong1")),
         [&](ListPageBuilder& page, QString& title) {
             return lists.ListByPinyin(Pinyin("zhong1"), page, title);
         }},
        {Request(kListJyutping, Jyutping("zung1")),
         [&](ListPageBuilder& page, QString& title) {
             return lists.ListByJyutping(Jyutping("zung1"), page, title);
         }},
        {Request(kListStrokeCount, 4),
         [&](ListPageBuilder& page, QString& title) { return lists.ListByStrokeCount(4, page, title); }},
        {Request(kListRadical, 2),
         [&](ListPageBuilder& page, QString& title) { return lists.ListByRadical(2, page, title); }},
    };
    for (const Case& c : cases) {
        HtmlListPage expected(*builder_);
        QString title;
        ASSERT_TRUE(c.list(expected, title));

        view_.bodies.clear();
        run(c.request);
        ASSERT_EQ(view_.bodies.size(), 1) << int(c.request.command);
        EXPECT_EQ(view_.bodies[0], expected.html());
        EXPECT_TRUE(view_.bodies[0].contains(QStringLiteral("mmpp://0=4E")));
        EXPECT_EQ(search_.history.entry(0), (SearchHistoryEntry{c.request.command, c.request.value, title}));
    }
    EXPECT_EQ(search_.history.entry(3).text, QStringLiteral("[zhong]"));
    EXPECT_EQ(search_.history.entry(2).text, QStringLiteral("[zung1]"));
    EXPECT_EQ(search_.history.entry(1).text, QStringLiteral("[4]"));
    EXPECT_EQ(history().size(), 4u);
    EXPECT_EQ(actions_.refills, 4);
}

TEST_F(ProtocolDispatcherTest, AWordShowsItsTableUnderTheWord) {
    const QString word = QStringLiteral("中国");
    const WordEntry entry = dictionary_->records().wordEntry(word).value();
    QString expected;
    builder_->MakeWordTable(word, entry.pinyin, entry.jyutping, entry.english, expected);

    run(TextRequest(kShowWord, word));
    ASSERT_EQ(view_.bodies.size(), 1);
    EXPECT_EQ(view_.bodies[0], expected);
    EXPECT_TRUE(view_.bodies[0].contains(QStringLiteral("China")));
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{6, 0, word}}));
}

TEST_F(ProtocolDispatcherTest, AnEnglishWordShowsItsMatchesUnderTheEnglishText) {
    run(TextRequest(kShowEnglish, QStringLiteral("China")));
    ASSERT_EQ(view_.bodies.size(), 1);
    EXPECT_TRUE(view_.bodies[0].contains(QStringLiteral("mmpp://0=4E2D"))) << view_.bodies[0].toStdString();
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{7, 0, QStringLiteral("China")}}));
}

TEST_F(ProtocolDispatcherTest, FailedLookUpsShowNothingAndLeaveTheHistory) {
    search_.history.AddToHistory(8, 4, QStringLiteral("[4]"));
    const std::vector<ProtocolRequest> failing = {
        Request(kShowCharacter, 0x9FA0), // not in the data
        Request(kShowCharacter, 0xD800), // no character at all
        Request(kShowCharacter, 0xFFFFFFFF),
        TextRequest(kShowHexCode, QStringLiteral("9FA0")),
        TextRequest(kShowWord, QStringLiteral("中中中中")),
        TextRequest(kShowEnglish, QStringLiteral("xyzzyplugh")),
        Request(kShowWord, 0x4E2D), // a text command without its text
        Request(kShowEnglish, 0),
        Request(kShowHexCode, 0x4E2D),
        Request(kListPinyin, 0xFFFF),
        Request(kListPinyin, 0x10000u + Pinyin("zhong1")), // no syllable id
        Request(kListJyutping, 0xFFFF),
        Request(kListStrokeCount, 200),
        Request(kListStrokeCount, 0xFFFFFFFF),
        Request(kListRadical, 999),
    };
    for (const ProtocolRequest& request : failing)
        run(request);
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(actions_.didNothing());
    EXPECT_EQ(history(), (std::vector<SearchHistoryEntry>{{8, 4, QStringLiteral("[4]")}}));
}

TEST_F(ProtocolDispatcherTest, SoundsPlayTheSyllableWithItsToneAndShowNoPage) {
    run(Request(kPlayPinyin, Pinyin("zhong1")));
    run(Request(kPlayJyutping, Jyutping("zung1")));
    run(Request(kPlayPinyin, 0xFFFF));                         // no syllable
    run(Request(kPlayJyutping, 0x10000u + Jyutping("zung1"))); // out of the id range
    EXPECT_EQ(actions_.played,
              (std::vector<std::pair<QString, Scheme>>{{QStringLiteral("zhong1"), Scheme::Pinyin},
                                                       {QStringLiteral("zung1"), Scheme::Jyutping}}));
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(history().empty());
    EXPECT_EQ(actions_.refills, 0);
}

TEST_F(ProtocolDispatcherTest, ActionCommandsReachTheWindow) {
    run(Request(kShowStrokeOrder, 0x4E2D));
    run(Request(kOpenSupport, 1));
    run(Request(kOpenSupport, 5));
    run(Request(kOpenLessonEditor, WindowActions::kNoLesson));
    run(Request(kOpenLessonEditor, 7));
    run(Request(kOpenHtmlLesson, 3));
    EXPECT_EQ(actions_.strokes, (std::vector<std::pair<std::uint32_t, int>>{{0x4E2D, 216}}));
    EXPECT_EQ(
        actions_.addresses,
        (QStringList{
            QStringLiteral("https://www.tessaravin.example/support.php?todo=1&prod=Quillory&ver=1.0"),
            QStringLiteral("https://www.tessaravin.example/support.php?todo=5&prod=Quillory&ver=1.0")}));
    EXPECT_EQ(actions_.lessonEditor, (std::vector<std::uint32_t>{0xFFFFFFFF, 7}));
    EXPECT_EQ(actions_.htmlLessons, (std::vector<std::uint32_t>{3}));
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(history().empty());
}

TEST_F(ProtocolDispatcherTest, CommandsOutsideTheTableDoNothing) {
    for (std::uint8_t command : {11, 12, 16, 255})
        run(Request(command, 0x4E2D));
    EXPECT_TRUE(view_.didNothing());
    EXPECT_TRUE(actions_.didNothing());
    EXPECT_TRUE(history().empty());
}

TEST_F(ProtocolDispatcherTest, EntryPagesReplaceTheBodyOnlyOnTheResultPage) {
    // The support page is shown: the result page is loaded with the page as its pending body.
    view_.name = QLatin1String(kSupportPageName);
    run(Request(kShowCharacter, 0x4E2D));
    ASSERT_EQ(view_.navigations.size(), 1u);
    EXPECT_EQ(view_.navigations[0].resource, QStringLiteral("index.html"));
    EXPECT_EQ(view_.navigations[0].body, characterPage(0x4E2D));
    EXPECT_EQ(view_.navigations[0].name, QLatin1String(kIndexPageName));
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
}

TEST_F(ProtocolDispatcherTest, APageThatCannotBeAskedOrFilledIsLoadedAfresh) {
    view_.name.clear(); // the page script did not answer
    dispatcher_->ShowEntryPage(QStringLiteral("<p>a</p>"));
    ASSERT_EQ(view_.navigations.size(), 1u);
    EXPECT_EQ(view_.navigations[0].body, QStringLiteral("<p>a</p>"));

    // The result page is named but its document is not loaded yet: the page
    // is not lost.
    view_.bodyAccepted = false;
    run(Request(kShowCharacter, 0x4E2D));
    ASSERT_EQ(view_.navigations.size(), 2u);
    EXPECT_EQ(view_.navigations[1].body, characterPage(0x4E2D));
    EXPECT_EQ(search_.history.entry(0).text, QStringLiteral("中"));
}

TEST_F(ProtocolDispatcherTest, ShowingTheSamePageTwiceKeepsOneHistoryEntry) {
    const ProtocolRequest zhong = Request(kListPinyin, Pinyin("zhong1"));
    const ProtocolRequest four = Request(kListStrokeCount, 4);
    run(zhong);
    run(zhong);
    EXPECT_EQ(history().size(), 1u);
    run(four);
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
        if (decision.post) {
            run(*decision.post);
        }
    }
    EXPECT_EQ(view_.bodies, QStringList{characterPage(0x4E2D)});
    EXPECT_EQ(history().size(), 1u);
}

TEST(LanguageRefresh, RepostsRelabelledPagesOfTheResultPage) {
    const QString index = QLatin1String(kIndexPageName);
    SearchHistory history;
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, LanguageRefresh::Action::Nothing);

    history.AddToHistory(kShowCharacter, 0x4E2D, QStringLiteral("中"));
    LanguageRefresh refresh = DecideLanguageRefresh(QStringLiteral("oxa.local.index.html"), history);
    EXPECT_EQ(refresh.action, LanguageRefresh::Action::Repost);
    EXPECT_EQ(refresh.request, Request(kShowCharacter, 0x4E2D));

    history.AddToHistory(kListRadical, 2, QStringLiteral("[丨]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).request, Request(kListRadical, 2));

    // A text entry read back from the file replays its text, whatever its value.
    history.AddToHistory(kShowEnglish, 0x2A, QStringLiteral("China"));
    refresh = DecideLanguageRefresh(index, history);
    EXPECT_EQ(refresh.action, LanguageRefresh::Action::Repost);
    EXPECT_EQ(refresh.request, TextRequest(kShowEnglish, QStringLiteral("China")));

    // Syllable lists stay as they are.
    history.AddToHistory(kListPinyin, Pinyin("zhong1"), QStringLiteral("[zhong]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, LanguageRefresh::Action::Nothing);
    history.AddToHistory(kListJyutping, Jyutping("zung1"), QStringLiteral("[zung1]"));
    EXPECT_EQ(DecideLanguageRefresh(index, history).action, LanguageRefresh::Action::Nothing);
}

TEST(LanguageRefresh, ShowsTheSupportPageAgainAndLeavesOtherPages) {
    SearchHistory history;
    history.AddToHistory(kShowCharacter, 0x4E2D, QStringLiteral("中"));
    EXPECT_EQ(DecideLanguageRefresh(QLatin1String(kSupportPageName), history).action,
              LanguageRefresh::Action::ShowSupport);
    EXPECT_EQ(DecideLanguageRefresh(QLatin1String(kAboutPageName), history).action,
              LanguageRefresh::Action::Nothing);
    EXPECT_EQ(DecideLanguageRefresh(QStringLiteral("No Name"), history).action,
              LanguageRefresh::Action::Nothing);
    EXPECT_EQ(DecideLanguageRefresh(QString(), history).action, LanguageRefresh::Action::Nothing);
}

TEST_F(ProtocolDispatcherTest, FixedPagesLoadTheirShellWithTheirBody) {
    ShowFixedPage(view_, SupportPage(*builder_));
    ShowFixedPage(view_, AboutPage(*builder_));
    ShowFixedPage(view_, WelcomePage(*builder_));
    QString support, version, welcome;
    builder_->MakeSupportBody(support);
    builder_->MakeVersionBlock(version);
    builder_->MakeWelcomeBody(welcome);
    ASSERT_EQ(view_.navigations.size(), 3u);
    EXPECT_EQ(view_.navigations[0].resource, QStringLiteral("tech.html"));
    EXPECT_EQ(view_.navigations[0].body, support);
    EXPECT_EQ(view_.navigations[0].name, QLatin1String(kSupportPageName));
    EXPECT_EQ(view_.navigations[1].resource, QStringLiteral("about.html"));
    EXPECT_EQ(view_.navigations[1].body, version);
    EXPECT_EQ(view_.navigations[1].name, QLatin1String(kAboutPageName));
    EXPECT_EQ(view_.navigations[2].resource, QStringLiteral("index.html"));
    EXPECT_EQ(view_.navigations[2].body, welcome);
    EXPECT_EQ(view_.navigations[2].name, QLatin1String(kIndexPageName));
    // Off for the support page, unchanged for About, on for the welcome page.
    EXPECT_EQ(view_.keyFilter, (std::vector<bool>{false, true}));
    EXPECT_EQ(view_.PageName(), QLatin1String(kIndexPageName));
}

} // namespace
} // namespace quillory
