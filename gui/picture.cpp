#include "gui/picture.h"

QPixmap loadPicture(const QString &filePath, Messages &messages) {
    QPixmap picture;
    if (!picture.load(filePath)) {
        messages.information(QStringLiteral("İmage Yükleme Hatası\n") + filePath);
        return QPixmap();
    }
    return picture;
}
