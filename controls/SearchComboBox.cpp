#include "controls/SearchComboBox.h"

#include "controls/SuggestionList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaObject>

namespace quillory {

SearchComboBox::SearchComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // The list is the history; typed text must not complete to an old entry.
    setCompleter(nullptr);
    // Only a change of item is a pick: the item already shown asks for nothing.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0) {
            emit historyPicked(item);
        }
    });
    // Only what the user types asks for suggestions, never a text the
    // history or the program put into the box.
    connect(lineEdit(), &QLineEdit::textEdited, this, &SearchComboBox::OnTextEdited);
}

void SearchComboBox::SetItems(const QList<QPair<QString, int>>& items) {
    const QSignalBlocker blocker(this);
    clear();
    for (const auto& [text, entry] : items) {
        addItem(text, entry);
    }
    if (count() > 0) {
        setCurrentIndex(0);
    }
}

void SearchComboBox::setSuggestionSource(SuggestionSource* source) {
    if (source_) {
        disconnect(source_, nullptr, this, nullptr);
    }
    CloseSuggestions();
    source_ = source;
    if (!source_) {
        return;
    }
    if (!suggestions_) {
        suggestions_ = new SuggestionList(this);
        connect(suggestions_, &SuggestionList::wordClicked, this, &SearchComboBox::ChooseSuggestion);
        if (window() != this) {
            window()->installEventFilter(this);
        }
    }
    connect(source_, &SuggestionSource::suggested, this, &SearchComboBox::OnSuggested);
}

void SearchComboBox::Post(const ProtocolRequest& request) {
    if (poster_) {
        poster_(request);
    }
}

void SearchComboBox::showPopup() {
    CloseSuggestions();
    QComboBox::showPopup();
}

void SearchComboBox::OnTextEdited(const QString& text) {
    if (!source_) {
        return;
    }
    const QString typed = text.trimmed();
    if (!WantsSuggestions(typed)) {
        CloseSuggestions();
        return;
    }
    source_->RequestSuggestions(++sequence_, typed);
}

void SearchComboBox::OnSuggested(quint64 sequence, const QList<quillory::Suggestion>& suggestions) {
    if (sequence != sequence_ || !suggestions_ || !hasFocus()) {
        return;
    }
    suggestions_->ShowSuggestions(suggestions);
}

void SearchComboBox::CloseSuggestions() {
    ++sequence_;
    if (suggestions_) {
        suggestions_->hide();
    }
}

void SearchComboBox::ChooseSuggestion(const QString& word) {
    CloseSuggestions();
    setEditText(word);
    RequestSearch();
}

void SearchComboBox::RequestSearch() {
    QMetaObject::invokeMethod(this, &SearchComboBox::searchRequested, Qt::QueuedConnection);
}

void SearchComboBox::keyPressEvent(QKeyEvent* event) {
    const bool listShown = suggestions_ && suggestions_->isVisible();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (const std::optional<QString> word = listShown ? suggestions_->selectedWord() : std::nullopt) {
            ChooseSuggestion(*word);
        } else {
            CloseSuggestions();
            RequestSearch();
        }
        event->accept();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (listShown) {
            suggestions_->MoveSelection(event->key() == Qt::Key_Down ? 1 : -1);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Escape:
        if (listShown) {
            CloseSuggestions();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QComboBox::keyPressEvent(event);
}

void SearchComboBox::focusOutEvent(QFocusEvent* event) {
    CloseSuggestions();
    QComboBox::focusOutEvent(event);
}

void SearchComboBox::hideEvent(QHideEvent* event) {
    CloseSuggestions();
    QComboBox::hideEvent(event);
}

// The list stays where it was shown: it closes when the window moves or
// changes its size.
bool SearchComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window() && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        CloseSuggestions();
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace quillory
