#pragma once
// The page side of the look-up tool: the body a link produces, a complete
// standalone page of it, and what a search-box query posts. Runs the same
// dispatcher as the window, over a view and window actions that only record.
#include "cli/LookupCommands.h"
#include "dictionary/Dictionary.h"
#include "pages/protocol/SearchActions.h"
#include "pages/builders/PageBuilder.h"
#include "pages/protocol/PageView.h"
#include "pages/protocol/WindowActions.h"
#include "settings/LanguageData.h"
#include "settings/NameRegistry.h"

#include <QString>
#include <QStringList>

namespace quillory::cli {

// Keeps what the dispatcher asked of the browser pane.
class RecordingView final : public PageView {
public:
    QString PageName() const override { return pageName; }
    bool SetBody(const QString& html) override;
    void SetKeyFilter(bool) override {}
    void Navigate(const QString& resourceName, const QString& pendingBody,
                  const QString& pendingName) override;

    QString pageName;
    QString shell;
    QString body;
    bool shown = false;
};

// Describes the actions that show no page instead of doing them.
class RecordingActions final : public WindowActions {
public:
    void PlaySyllable(const QString& syllable, Scheme scheme) override;
    void StartStroke(std::uint32_t code, int pixelSize) override;
    void OpenLessonEditor(std::uint32_t lessonId) override;
    void OpenHtmlLesson(std::uint32_t lessonId) override;
    void OpenAddress(const QString& url) override;
    void RefillSearchBox() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

    QStringList actions;
};

class PageCommands {
public:
    PageCommands(Dictionary& dictionary, int language);

    // A link ("mmpp://0=4E2D") or a fixed page ("welcome", "support", "about").
    Answer page(const QString& link);
    // The same page as one standalone HTML document written to a regular
    // file, or given as the answer's text when outputPath is "-".
    Answer render(const QString& link, const QString& outputPath);
    // What the search box posts for a query, or the message it shows.
    Answer search(const QString& query);

private:
    struct ShownPage {
        QString shell;
        QString body;
        QString pageName;
    };
    // nullopt with the answer to give when the link shows no page.
    std::optional<ShownPage> show(const QString& link, Answer& failure);

    Dictionary& dictionary_;
    NameRegistry names_;
    RecordingReporter languageMessages_;
    LanguageData language_;
    PageBuilder builder_;
    SearchState search_;
};

} // namespace quillory::cli
