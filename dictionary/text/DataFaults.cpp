#include "dictionary/text/DataFaults.h"

namespace quillory {

void DataFaults::Report(const QString& what) {
    if (count_++ > 0) {
        return;
    }
    first_ = what;
    if (reporter_ != nullptr) {
        reporter_->showMessage(QStringLiteral("The dictionary data is damaged (%1). Some answers may be "
                                              "missing; install the data folder again.")
                                   .arg(what));
    }
}

} // namespace quillory
