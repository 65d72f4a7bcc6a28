#pragma once
// Plays syllables one after another: each starts when the sound before it
// has finished; a syllable without a sound is passed over.
#include "dictionary/text/Romanisation.h"

#include <QObject>
#include <QStringList>
#include <functional>

namespace quillory {

class SyllableSequence final : public QObject {
    Q_OBJECT
public:
    // Starts one syllable's sound; false when none started.
    using PlayOne = std::function<bool(const QString& syllable, Scheme scheme)>;

    explicit SyllableSequence(PlayOne play, QObject* parent = nullptr);

    // Replaces what is still to play and starts the first syllable.
    void Start(const QStringList& syllables, Scheme scheme);
    // The sound before has finished: the next syllable starts.
    void PlayNext();

    const QStringList& waiting() const { return waiting_; }

private:
    PlayOne play_;
    QStringList waiting_;
    Scheme scheme_ = Scheme::Pinyin;
};

} // namespace quillory
