#include "tools/convert/ReadingWriter.h"

#include <limits>
#include <vector>

namespace quillory {

namespace {

char32_t CodeAt(QStringView text, qsizetype at, qsizetype* units) {
    const QChar c = text[at];
    if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, text[at + 1]);
    }
    *units = 1;
    return c.unicode();
}

// One run of Chinese characters split into words: the best path from each
// position to the run's end, filled from the end.
class RunSegmenter {
public:
    RunSegmenter(const ReadingLexicon& lexicon, const ReadingRequest& request)
        : lexicon_(lexicon), request_(request) {}

    struct Piece {
        qsizetype length = 0;
        const QString* reading = nullptr; // nullptr: kept as it stands
    };

    // run: the run's text; at: its offset in the whole text (for the aligned simplified form).
    const std::vector<Piece>& Split(QStringView run, qsizetype at) {
        const qsizetype size = run.size();
        score_.assign(std::size_t(size + 1), 0.0);
        choice_.assign(std::size_t(size + 1), Piece{});
        const QStringView simplified =
            request_.simplified.size() > at ? request_.simplified.mid(at, size) : QStringView();
        for (qsizetype i = size - 1; i >= 0; --i) {
            if (run[i].isLowSurrogate() && i > 0 && run[i - 1].isHighSurrogate()) {
                score_[std::size_t(i)] = -std::numeric_limits<double>::infinity();
                continue; // no word starts inside a character
            }
            qsizetype units = 1;
            CodeAt(run, i, &units);
            // A character alone, read or not, is always a way on.
            Piece best{units, nullptr};
            double bestScore = lexicon_.unknownLogProbability() + score_[std::size_t(i + units)];
            const int longest = std::max(lexicon_.maxLength(run[i]),
                                         simplified.isEmpty() ? 0 : lexicon_.maxLength(simplified[i]));
            for (qsizetype length = units; length <= longest && i + length <= size; ++length) {
                const auto match = find(run.mid(i, length), simplified, i, length);
                if (!match) {
                    continue;
                }
                const double score = match->logProbability + score_[std::size_t(i + length)];
                if (score > bestScore || (length == units && score == bestScore)) {
                    bestScore = score;
                    best = {length, match->reading};
                }
            }
            score_[std::size_t(i)] = bestScore;
            choice_[std::size_t(i)] = best;
        }
        pieces_.clear();
        for (qsizetype i = 0; i < size; i += choice_[std::size_t(i)].length) {
            pieces_.push_back(choice_[std::size_t(i)]);
        }
        return pieces_;
    }

private:
    // The word as written, else (traditional text) as its simplified form.
    std::optional<ReadingLexicon::Match> find(QStringView word, QStringView simplified, qsizetype at,
                                              qsizetype length) const {
        if (auto match = lexicon_.find(word, request_.scheme, request_.traditional)) {
            return match;
        }
        if (simplified.isEmpty()) {
            return std::nullopt;
        }
        const QStringView other = simplified.mid(at, length);
        return other == word ? std::nullopt : lexicon_.find(other, request_.scheme, false);
    }

    const ReadingLexicon& lexicon_;
    const ReadingRequest& request_;
    std::vector<double> score_;
    std::vector<Piece> choice_;
    std::vector<Piece> pieces_;
};

bool IsLetterOrDigit(char32_t code) {
    return QChar::isLetterOrNumber(code);
}

// The last and first code points of a text (0 when empty).
char32_t LastCode(QStringView text) {
    if (text.isEmpty()) {
        return 0;
    }
    if (text.size() >= 2 && text.back().isLowSurrogate() && text[text.size() - 2].isHighSurrogate()) {
        return QChar::surrogateToUcs4(text[text.size() - 2], text.back());
    }
    return text.back().unicode();
}

char32_t FirstCode(QStringView text) {
    qsizetype units = 0;
    return text.isEmpty() ? 0 : CodeAt(text, 0, &units);
}

// Appends pieces with the spacing rule: two blanks between readings, one
// between a reading and a letter or digit it would otherwise touch.
class ReadingText {
public:
    explicit ReadingText(qsizetype reserve) { text_.reserve(reserve); }

    void AddReading(const QString& reading) {
        if (lastWasReading_) {
            text_ += QLatin1String("  ");
        } else if (IsLetterOrDigit(LastCode(text_))) {
            text_ += u' ';
        }
        text_ += reading;
        lastWasReading_ = true;
    }

    void AddText(QStringView text) {
        if (text.isEmpty()) {
            return;
        }
        if (lastWasReading_ && IsLetterOrDigit(FirstCode(text))) {
            text_ += u' ';
        }
        text_ += text;
        lastWasReading_ = false;
    }

    QString take() { return std::move(text_); }

private:
    QString text_;
    bool lastWasReading_ = false;
};

} // namespace

bool IsChineseCharacter(char32_t code) {
    return (code >= 0x3400 && code <= 0x4DBF) || (code >= 0x4E00 && code <= 0x9FFF) ||
           (code >= 0xF900 && code <= 0xFAFF) || (code >= 0x20000 && code <= 0x3134F);
}

QString WriteReadings(QStringView text, const ReadingRequest& request, const ReadingLexicon& lexicon) {
    ReadingText out(text.size() * 4);
    RunSegmenter segmenter(lexicon, request);
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        // Other text up to the next Chinese character.
        const qsizetype otherStart = i;
        qsizetype units = 1;
        while (i < size && !IsChineseCharacter(CodeAt(text, i, &units))) {
            i += units;
        }
        out.AddText(text.mid(otherStart, i - otherStart));
        const qsizetype runStart = i;
        while (i < size && IsChineseCharacter(CodeAt(text, i, &units))) {
            i += units;
        }
        if (i == runStart) {
            continue;
        }
        qsizetype at = runStart;
        for (const auto& piece : segmenter.Split(text.mid(runStart, i - runStart), runStart)) {
            if (piece.reading) {
                out.AddReading(*piece.reading);
            } else {
                out.AddText(text.mid(at, piece.length));
            }
            at += piece.length;
        }
    }
    return out.take();
}

} // namespace quillory
