#include "app/window/SuggestionWorker.h"

#include "dictionary/records/RecordStore.h"
#include "dictionary/search/Lookup.h"

namespace quillory {

SuggestionWorker::SuggestionWorker(QString recordStorePath,
                                   std::shared_ptr<const std::atomic<quint64>> newest)
    : path_(std::move(recordStorePath)), newest_(std::move(newest)) {}

SuggestionWorker::~SuggestionWorker() {
    lookup_.reset();
    if (store_) {
        store_->Close();
    }
}

bool SuggestionWorker::Ready() {
    if (!opened_ && !failed_) {
        store_ = std::make_unique<RecordStore>();
        opened_ = store_->Open(path_);
        failed_ = !opened_;
        if (opened_) {
            lookup_ = std::make_unique<Lookup>(*store_);
        }
    }
    return opened_;
}

void SuggestionWorker::LookUp(quint64 sequence, const QString& text) {
    // A newer text was typed while this request waited: its answer would be dropped.
    if (sequence != newest_->load()) {
        return;
    }
    QList<Suggestion> suggestions;
    if (Ready()) {
        for (Suggestion& suggestion : lookup_->Suggest(text, SuggestionList::kMaxRows)) {
            suggestions.append(std::move(suggestion));
        }
    }
    emit answered(sequence, suggestions);
}

void SuggestionWorker::WarmUp() {
    if (Ready()) {
        lookup_->Suggest(QStringLiteral("zh"), SuggestionList::kMaxRows);
    }
}

StoreSuggestions::StoreSuggestions(const QString& recordStorePath, QObject* parent)
    : SuggestionSource(parent) {
    qRegisterMetaType<QList<Suggestion>>();
    auto* worker = new SuggestionWorker(recordStorePath, newest_);
    worker->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker, &QObject::deleteLater);
    connect(this, &StoreSuggestions::lookUpRequested, worker, &SuggestionWorker::LookUp);
    connect(this, &StoreSuggestions::warmUpRequested, worker, &SuggestionWorker::WarmUp);
    connect(worker, &SuggestionWorker::answered, this, &SuggestionSource::suggested);
    thread_.setObjectName(QStringLiteral("suggestions"));
    thread_.start();
    // The store opens on the worker's thread before the first keystroke.
    QMetaObject::invokeMethod(
        worker, [worker] { worker->Ready(); }, Qt::QueuedConnection);
}

StoreSuggestions::~StoreSuggestions() {
    thread_.quit();
    thread_.wait();
}

void StoreSuggestions::WarmUp() {
    emit warmUpRequested();
}

void StoreSuggestions::RequestSuggestions(quint64 sequence, const QString& text) {
    newest_->store(sequence);
    emit lookUpRequested(sequence, text);
}

} // namespace quillory
