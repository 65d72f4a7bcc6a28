#pragma once
// Records syllables with the espeak-ng speech synthesiser: one run per
// syllable writing a WAV to standard output, converted to 16 kHz mono with
// the leading and trailing silence trimmed.
#include "datagen/sounds/RecordedSyllable.h"
#include "dictionary/sounds/Resample.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillory {

inline constexpr int kRecordingRate = 16000;

// True for the syllabic nasals (m, n, ng, hm, hng with any tone): the
// synthesiser reads them toneless and nearly silent, so they get no sound.
bool IsSyllabicNasal(const std::string& syllable);

// A toned syllable ("ma1", "zung1") as 16 kHz samples. nullopt with an empty
// error for a syllabic nasal; nullopt with the error set when the text is no
// syllable of the scheme or the synthesiser fails.
std::optional<std::vector<std::int16_t>> RecordSyllable(const std::string& syllable, Scheme scheme,
                                                        QString* error);

struct SyllableToRecord {
    Scheme scheme = Scheme::Pinyin;
    SyllableId id = 0;
};

// Records every syllable with two synthesiser processes running at a time.
// Syllabic nasals are left out; each failure adds a line to errors.
std::vector<RecordedSyllable> RecordSyllables(const std::vector<SyllableToRecord>& syllables,
                                              QStringList* errors);

// The samples of a 16-bit mono PCM WAV. A data size beyond the end (as a
// streaming writer leaves it) is cut to the bytes present.
std::optional<std::vector<std::int16_t>> DecodeWav(const QByteArray& wav, int* sampleRate, QString* error);

// Drops the samples before the first and after the last one above about 0.3%
// of full scale, keeping a margin of 5 ms; empty when nothing is audible.
std::vector<std::int16_t> TrimSilence(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace quillory
