#pragma once

#include <QString>

namespace cli {

// A whole number within [min, max], or false.
bool parseNumber(const QString &text, qint64 min, qint64 max, qint64 *out);

} // namespace cli
