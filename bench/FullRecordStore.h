#pragma once
// The record store of the full data, opened once for every benchmark of the
// program; a benchmark run without it stops at once with the reason.
#include "dictionary/records/RecordStore.h"

#include <cstdio>
#include <cstdlib>

namespace quillory::bench {

inline const RecordStore& FullRecordStore() {
    static RecordStore store;
    static const bool opened = store.Open(QStringLiteral(QUILLORY_DATA_DIR "/records.db"));
    if (!opened) {
        std::fprintf(stderr, "cannot open %s/records.db: %s\n", QUILLORY_DATA_DIR,
                     qPrintable(store.openError()));
        std::abort();
    }
    return store;
}

} // namespace quillory::bench
