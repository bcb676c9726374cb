#pragma once

#include <QByteArray>
#include <QString>

// Code page 1254 (Windows Turkish), in which the suite's old files were
// written: Latin-1 but for the six Turkish letters of its own (Ğ İ Ş ğ ı ş)
// and the punctuation at 0x80-0x9F.
namespace cp1254 {

QString decode(const QByteArray &bytes);
// The byte of `c`; '?' for a character the code page does not have.
char encode(char16_t c);

} // namespace cp1254
