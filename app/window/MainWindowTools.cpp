// The main window's Tools windows (the Converter and the Lesson Editor) and
// the lesson entries of its tree.
#include "app/window/MainWindow.h"

#include "controls/tree/CategoryTree.h"
#include "lessons/editor/LessonEditor.h"
#include "lessons/editor/SyllableSequence.h"
#include "tools/converter/ConverterWindow.h"

#include <QDir>
#include <QMetaObject>

namespace quillory {

LessonTitles MainWindow::LessonTitlesIn(int language) const {
    const QByteArray key = LessonTitleKey(language).toLatin1();
    LessonTitles titles;
    for (const LessonEntry& entry : lessons_->oxa().Lessons(key)) {
        titles.oxa.push_back(LessonTitle{std::uint16_t(entry.id), entry.title});
    }
    for (const LessonEntry& entry : lessons_->html().Lessons(key)) {
        titles.html.push_back(LessonTitle{std::uint16_t(entry.id), entry.title});
    }
    return titles;
}

void MainWindow::PostLessonNotice(LessonFormat format, std::uint16_t id, int action) {
    QMetaObject::invokeMethod(
        this, [this, format, id, action] { OnLessonNotice(format, id, action); }, Qt::QueuedConnection);
}

// The new lesson's title under the interface language's key, without tone
// marks until the next relabelling.
void MainWindow::OnLessonNotice(LessonFormat format, std::uint16_t id, int action) {
    if (!tree_ || exiting_) {
        return;
    }
    const int lang = language_.GetLanguage();
    const QByteArray key = LessonTitleKey(lang).toLatin1();
    QString title;
    if (format == LessonFormat::Oxa) {
        lessons_->oxa().ReadOxaIndexValue(id, key, title);
    } else {
        lessons_->html().ReadHtmlIndexValue(id, key, title);
    }
    tree_->ApplyLessonNotice(DecideLessonNotice(format, id, action, title, language_, lang));
}

void MainWindow::ShowConverter() {
    if (!converter_) {
        ConverterEnvironment environment;
        environment.recordStorePath = QDir(env_.dataFolder).filePath(Dictionary::recordStoreName());
        environment.labels = [this](std::uint32_t id) { return controls_.textOf(id); };
        environment.fonts = [this](FontSlot slot) { return fonts_.GetFont(slot); };
        environment.reporter = &reporter_;
        converter_ = new ConverterWindow(std::move(environment), this);
        converter_->setWindowIcon(windowIcon());
    }
    converter_->show();
    converter_->raise();
    converter_->activateWindow();
}

void MainWindow::ShowLessonEditor(std::uint32_t lessonId) {
    if (!lessonEditor_) {
        lessonConverter_ =
            std::make_unique<TextConverter>(QDir(env_.dataFolder).filePath(Dictionary::recordStoreName()));
        // The syllables of a field, one after another from the sound store.
        lessonSpeech_ = new SyllableSequence(
            [this](const QString& syllable, Scheme scheme) {
                const std::optional<SyllableId> id = EncodeSyllable(syllable.toStdString(), scheme);
                const auto samples = id ? dictionary_.sounds().samples(scheme, *id) : std::nullopt;
                return samples && player_.Play(*samples, SoundStore::sampleRate());
            },
            this);
        connect(&player_, &SyllablePlayer::finished, lessonSpeech_, &SyllableSequence::PlayNext);
        LessonEditorEnvironment environment;
        environment.lessons = lessons_.get();
        environment.settings = env_.settings;
        environment.reporter = &reporter_;
        environment.labels = [this](std::uint32_t id) { return controls_.textOf(id); };
        environment.fonts = [this](FontSlot slot) { return fonts_.GetFont(slot); };
        environment.postNotice = [this](LessonFormat format, int id, int action) {
            PostLessonNotice(format, std::uint16_t(id), action);
        };
        environment.converter = lessonConverter_.get();
        environment.speak = [this](const QStringList& syllables, Scheme scheme) {
            lessonSpeech_->Start(syllables, scheme);
        };
        lessonEditor_ = new LessonEditor(std::move(environment), this);
        lessonEditor_->setWindowIcon(windowIcon());
    }
    lessonEditor_->OpenLesson(lessonId);
}

} // namespace quillory
