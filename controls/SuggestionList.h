#pragma once
// The suggestions under the search box: where they come from (an interface,
// answered later and possibly from another thread) and the list that shows
// them without ever taking the keyboard from the box.
#include "dictionary/search/Lookup.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTreeWidget>
#include <optional>

namespace quillory {

// Where the search box asks for suggestions. Each request carries a number
// that grows with every request; the answer carries the same number, so that
// the box can drop answers to texts it no longer shows. A request may go
// unanswered when a newer one replaced it.
class SuggestionSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void RequestSuggestions(quint64 sequence, const QString& text) = 0;

signals:
    void suggested(quint64 sequence, const QList<quillory::Suggestion>& suggestions);
};

// Suggestions are asked for a text of at least one ideograph or two letters.
bool WantsSuggestions(const QString& text);

// A frameless list under its anchor widget: one row per suggestion with its
// word, reading (tone digits) and first gloss. It never takes the
// focus; the anchor moves the selection and asks for the chosen word.
class SuggestionList final : public QTreeWidget {
    Q_OBJECT
public:
    // Most rows shown.
    static constexpr int kMaxRows = 10;

    explicit SuggestionList(QWidget* anchor);

    // Shows the first kMaxRows suggestions under the anchor, none selected;
    // hides the list when there are none.
    void ShowSuggestions(const QList<Suggestion>& suggestions);
    // Moves the selection by step rows, from none to the first or last row;
    // the selection stops at either end.
    void MoveSelection(int step);
    // The selected row's word; nothing when no row is selected.
    std::optional<QString> selectedWord() const;
    QString wordAt(int row) const;

signals:
    // A row was clicked.
    void wordClicked(const QString& word);

private:
    void PlaceUnderAnchor();

    QWidget* anchor_;
};

} // namespace quillory
