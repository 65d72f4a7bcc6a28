#include "app/window/WindowPageActions.h"

#include "app/sound/SyllablePlayer.h"
#include "controls/SearchComboBox.h"
#include "dictionary/Dictionary.h"
#include "pages/protocol/SearchActions.h"

#include <QGuiApplication>

namespace quillory {

WindowPageActions::WindowPageActions(const Dictionary& dictionary, SyllablePlayer& player,
                                     std::function<bool(const QUrl&)> openUrl, const SearchHistory& history)
    : dictionary_(dictionary), player_(player), openUrl_(std::move(openUrl)), history_(history) {}

void WindowPageActions::PlaySyllable(const QString& syllable, Scheme scheme) {
    // Returns at once; the sound plays on while the window goes on working.
    const std::optional<SyllableId> id = EncodeSyllable(syllable.toStdString(), scheme);
    if (!id)
        return;
    if (const auto samples = dictionary_.sounds().samples(scheme, *id))
        player_.Play(*samples, SoundStore::sampleRate());
}

void WindowPageActions::OpenAddress(const QString& url) {
    if (openUrl_) {
        openUrl_(QUrl(url));
    }
}

void WindowPageActions::RefillSearchBox() {
    if (!searchBox_) {
        return;
    }
    QList<QPair<QString, int>> items;
    for (const SearchBoxItem& item : SearchBoxItems(history_)) {
        items.append({item.text, item.entryIndex});
    }
    searchBox_->SetItems(items);
}

void WindowPageActions::BeginWaitCursor() {
    if (waitDepth_++ == 0) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void WindowPageActions::EndWaitCursor() {
    if (waitDepth_ > 0 && --waitDepth_ == 0) {
        QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace quillory
