#include "cli/company.h"

namespace cli {

bool parseNumber(const QString &text, qint64 min, qint64 max, qint64 *out) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = v;
    return true;
}

} // namespace cli
