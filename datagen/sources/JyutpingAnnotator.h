#pragma once
// Cantonese readings from the to-jyutping module, run once with node.
#include "datagen/sources/SourceData.h"

#include <QString>
#include <QStringList>

namespace quillory::datagen {

struct JyutpingQueries {
    QStringList texts;      // each answered with its syllables, blank-separated
    QStringList characters; // each answered with all candidate readings
};

struct JyutpingAnswers {
    QStringList texts;
    QStringList characters;
};

struct JyutpingTool {
    QString moduleDir;  // the to-jyutping package folder (or its dist/index.cjs)
    QString scriptPath; // empty: to_jyutping.js of the compiler's own folder
    QString node;       // empty: "node" from PATH
    int timeoutMs = 300000;
};

// The script used when no explicit path is given.
QString DefaultJyutpingScript();

// Runs node once for all queries; fails with a readable error when node,
// the script or the module is missing or the answers do not match.
bool QueryJyutping(const JyutpingTool& tool, const JyutpingQueries& queries, JyutpingAnswers* answers,
                   QString* error);

struct JyutpingStats {
    int wordsRead = 0;       // words that received at least one syllable
    int candidatesAdded = 0; // character readings added after kCantonese
};

// Fills every word's jyutping from its traditional headword and appends the
// candidate readings of every character after its existing ones.
bool AnnotateJyutping(const JyutpingTool& tool, SourceData& source, QString* error,
                      JyutpingStats* stats = nullptr);

} // namespace quillory::datagen
