#pragma once

#include <QString>

// One field of a CSV line: quoted, its quotes doubled, only when it holds a
// comma, a quote or a line break.
QString csvField(const QString &text);
