#include "lessons/editor/SyllableSequence.h"

namespace quillory {

SyllableSequence::SyllableSequence(PlayOne play, QObject* parent) : QObject(parent), play_(std::move(play)) {}

void SyllableSequence::Start(const QStringList& syllables, Scheme scheme) {
    waiting_ = syllables;
    scheme_ = scheme;
    PlayNext();
}

void SyllableSequence::PlayNext() {
    while (!waiting_.isEmpty()) {
        if (play_(waiting_.takeFirst(), scheme_)) {
            return;
        }
    }
}

} // namespace quillory
