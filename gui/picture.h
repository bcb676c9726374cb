#pragma once

#include "base/messages.h"

#include <QPixmap>

// A screen's or a button's picture from the image folder. A file that cannot
// be loaded says "İmage Yükleme Hatası" and its path; the target then keeps
// no picture (a null pixmap).
QPixmap loadPicture(const QString &filePath, Messages &messages);

// The pictures the screens load from PrgPath + imagepath.
inline const char *const PictureFiles[] = {"muhback3.jpg", "pencere.jpg",  "check.ico",
                                           "uncheck.ico",  "printerm.ico", "printers.ico",
                                           "go.ico",       "ayar.ico"};
