#pragma once
// The search box's suggestions from the record store, looked up on a thread
// of their own: the worker opens its own read-only connection to the store
// and its own look-ups there (SQLite connections and the store's statements
// belong to one thread), so that typing never waits for a look-up.
#include "controls/SuggestionList.h"

#include <QThread>
#include <atomic>
#include <memory>

namespace quillory {

class Lookup;
class RecordStore;

// Runs on the look-up thread. Requests queue up while a look-up runs; only
// the newest is answered, older ones are skipped.
class SuggestionWorker final : public QObject {
    Q_OBJECT
public:
    SuggestionWorker(QString recordStorePath, std::shared_ptr<const std::atomic<quint64>> newest);
    ~SuggestionWorker() override;

    void LookUp(quint64 sequence, const QString& text);
    // Opens the store, once, on this thread; false when it cannot.
    bool Ready();
    // Looks up once without answering, so that the store's cache and
    // statements are ready before the first keystroke.
    void WarmUp();

signals:
    void answered(quint64 sequence, const QList<quillory::Suggestion>& suggestions);

private:
    QString path_;
    std::shared_ptr<const std::atomic<quint64>> newest_;
    std::unique_ptr<RecordStore> store_;
    std::unique_ptr<Lookup> lookup_;
    bool opened_ = false;
    bool failed_ = false;
};

// The suggestion source of the main window: hands each request to the
// worker's thread and passes its answers on. A store that cannot be opened
// gives no suggestions.
class StoreSuggestions final : public SuggestionSource {
    Q_OBJECT
public:
    explicit StoreSuggestions(const QString& recordStorePath, QObject* parent = nullptr);
    // Waits for a look-up under way to end.
    ~StoreSuggestions() override;

    void RequestSuggestions(quint64 sequence, const QString& text) override;
    // Has the worker look up once, answering nothing.
    void WarmUp();

signals:
    void lookUpRequested(quint64 sequence, const QString& text);
    void warmUpRequested();

private:
    QThread thread_;
    std::shared_ptr<std::atomic<quint64>> newest_ = std::make_shared<std::atomic<quint64>>(0);
};

} // namespace quillory
