#include "cli/PageCommands.h"

#include "pages/protocol/LinkProtocol.h"
#include "pages/protocol/ProtocolDispatcher.h"
#include "pages/builders/StandalonePage.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSaveFile>

namespace quillory::cli {
namespace {

QString Hex(std::uint32_t value) {
    return QString::number(value, 16).toUpper();
}

// The search box as a query typed into an empty box.
class QueryBox final : public SearchBox {
public:
    explicit QueryBox(QString text) : text_(std::move(text)) {}
    QString text() const override { return text_; }
    int itemCount() const override { return 0; }
    QString itemText(int) const override { return {}; }
    int itemData(int) const override { return -1; }
    int selectedItem() const override { return -1; }
    void Post(const ProtocolRequest& request) override { posted = request; }

    std::optional<ProtocolRequest> posted;

private:
    QString text_;
};

} // namespace

bool RecordingView::SetBody(const QString& html) {
    if (pageName.isEmpty()) {
        return false;
    }
    body = html;
    shown = true;
    return true;
}

void RecordingView::Navigate(const QString& resourceName, const QString& pendingBody,
                             const QString& pendingName) {
    shell = resourceName;
    body = pendingBody;
    pageName = pendingName;
    shown = true;
}

void RecordingActions::PlaySyllable(const QString& syllable, Scheme scheme) {
    actions.append(
        QStringLiteral("play %1 %2").arg(scheme == Scheme::Pinyin ? "Pinyin" : "Jyutping", syllable));
}

void RecordingActions::StartStroke(std::uint32_t code, int pixelSize) {
    actions.append(QStringLiteral("stroke order of U+%1 at %2 pixels").arg(Hex(code)).arg(pixelSize));
}

void RecordingActions::OpenLessonEditor(std::uint32_t lessonId) {
    actions.append(lessonId == kNoLesson
                       ? QStringLiteral("open the lesson editor")
                       : QStringLiteral("open lesson %1 in the lesson editor").arg(lessonId));
}

void RecordingActions::OpenHtmlLesson(std::uint32_t lessonId) {
    actions.append(QStringLiteral("open HTML lesson %1").arg(lessonId));
}

void RecordingActions::OpenAddress(const QString& url) {
    actions.append(QStringLiteral("open %1").arg(url));
}

PageCommands::PageCommands(Dictionary& dictionary, int language)
    : dictionary_(dictionary), language_(languageMessages_), builder_(language_, names_, dictionary.index()) {
    language_.Load(dictionary.files().dataFolder());
    RegisterLabelKeys(language_, names_);
    language_.SetLanguage(language);
}

std::optional<PageCommands::ShownPage> PageCommands::show(const QString& link, Answer& failure) {
    const QString name = link.trimmed().toLower();
    std::optional<FixedPage> fixed;
    if (name == QLatin1String("welcome")) {
        fixed = WelcomePage(builder_);
    } else if (name == QLatin1String("support")) {
        fixed = SupportPage(builder_);
    } else if (name == QLatin1String("about")) {
        fixed = AboutPage(builder_);
    }
    if (fixed) {
        return ShownPage{fixed->resourceName, fixed->body, fixed->pageName};
    }

    if (!IsOwnLink(link.trimmed())) {
        failure = Failure(kBadUsage, QStringLiteral("'%1' is no link of the form mmpp://COMMAND=VALUE, nor "
                                                    "welcome, support or about")
                                         .arg(link));
        return std::nullopt;
    }
    const NavigationDecision decision = DecideNavigation(link.trimmed());
    if (!decision.post) {
        failure =
            Failure(kNotFound, QStringLiteral("'%1' is malformed or not a link a page may carry").arg(link));
        return std::nullopt;
    }
    RecordingView view;
    view.pageName = QString::fromLatin1(kIndexPageName);
    RecordingActions actions;
    ProtocolDispatcher dispatcher(dictionary_, builder_, search_, view, actions);
    dispatcher.OnProtocol(*decision.post);
    if (!actions.actions.isEmpty()) {
        failure.status = kFound;
        failure.text = actions.actions.join(u'\n');
        failure.json = QJsonObject{{QStringLiteral("link"), link.trimmed()},
                                   {QStringLiteral("actions"), QJsonArray::fromStringList(actions.actions)}};
        return std::nullopt;
    }
    if (!view.shown) {
        failure = Failure(kNotFound, QStringLiteral("'%1' shows no page").arg(link));
        return std::nullopt;
    }
    return ShownPage{view.shell.isEmpty() ? QStringLiteral("index.html") : view.shell, view.body,
                     view.pageName};
}

Answer PageCommands::page(const QString& link) {
    Answer answer;
    const std::optional<ShownPage> shown = show(link, answer);
    if (!shown) {
        return answer;
    }
    answer.text = shown->body;
    answer.json = QJsonObject{{QStringLiteral("link"), link.trimmed()},
                              {QStringLiteral("shell"), shown->shell},
                              {QStringLiteral("pageName"), shown->pageName},
                              {QStringLiteral("body"), shown->body}};
    return answer;
}

Answer PageCommands::render(const QString& link, const QString& outputPath) {
    Answer answer;
    const std::optional<ShownPage> shown = show(link, answer);
    if (!shown) {
        if (answer.status == kFound) {
            return Failure(kNotFound, QStringLiteral("'%1' shows no page: %2").arg(link, answer.text));
        }
        return answer;
    }
    const QString html = MakeStandalonePage(shown->shell, shown->body, shown->pageName);
    if (outputPath == QLatin1String("-")) {
        answer.text = html;
        answer.json = QJsonObject{{QStringLiteral("link"), link.trimmed()}, {QStringLiteral("html"), html}};
        return answer;
    }
    // The file is written beside the target and renamed over it: that would
    // replace a FIFO or a device with a regular file, so only regular files
    // (or a new name) are taken.
    const QFileInfo target(outputPath);
    if (target.exists() && !target.isFile()) {
        return Failure(
            kBadUsage,
            QStringLiteral("-o takes a regular file or - (standard output); %1 is none").arg(outputPath));
    }
    QSaveFile file(outputPath);
    if (html.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0 ||
        !file.commit()) {
        return Failure(kNotFound, QStringLiteral("cannot write %1").arg(outputPath));
    }
    answer.text = QStringLiteral("wrote %1").arg(outputPath);
    answer.json = QJsonObject{{QStringLiteral("link"), link.trimmed()}, {QStringLiteral("file"), outputPath}};
    return answer;
}

Answer PageCommands::search(const QString& query) {
    QueryBox box(query);
    RecordingReporter messages;
    RunSearch(box, search_, messages);
    if (!messages.messages.isEmpty()) {
        return Failure(kNotFound, messages.messages.join(u'\n'));
    }
    if (!box.posted) {
        return Failure(kNotFound, QStringLiteral("the query posts nothing"));
    }
    const ProtocolRequest& request = *box.posted;
    Answer answer;
    answer.json = QJsonObject{{QStringLiteral("query"), query},
                              {QStringLiteral("command"), int(request.command)},
                              {QStringLiteral("value"), Hex(request.value)}};
    answer.text = QStringLiteral("command %1 value %2").arg(request.command).arg(Hex(request.value));
    if (request.text) {
        answer.json.insert(QStringLiteral("text"), *request.text);
        answer.text += QStringLiteral(" text %1").arg(*request.text);
    }
    return answer;
}

} // namespace quillory::cli
