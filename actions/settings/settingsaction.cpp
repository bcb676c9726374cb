#include "actions/settings/settingsaction.h"

#include "core/unitofwork.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace settingsform {

std::optional<data::Settings> load(Company &s) {
    auto settings = data::readSettings(s.ayar);
    if (settings)
        settings->fisno = data::lastReceiptNumber(*settings, s.genel);
    return settings;
}

bool save(Company &s, const std::optional<data::Settings> &loaded, const data::Settings &edited) {
    // Both files: no desk issues a receipt between the check and the store.
    UnitOfWork work(s);
    if (!work.active())
        return false;
    const std::optional<data::Settings> now = data::readSettings(s.ayar);
    data::Settings row = now.value_or(data::Settings{});
    const qint32 issued = now ? data::lastReceiptNumber(*now, s.genel) : 0;
    const auto changed = [&](const auto &a, const auto &b) { return !loaded || a != b; };
    for (size_t i = 0; i < 5; ++i) {
        if (changed(edited.ack[i], loaded ? loaded->ack[i] : QString()))
            row.ack[i] = edited.ack[i];
        if (changed(edited.muh[i], loaded ? loaded->muh[i] : QString()))
            row.muh[i] = edited.muh[i];
    }
    if (changed(edited.faiz, loaded ? loaded->faiz : 0.0))
        row.faiz = edited.faiz;
    if (changed(edited.tolerans, loaded ? loaded->tolerans : 0))
        row.tolerans = edited.tolerans;
    QString refusal;
    if (changed(edited.fisno, loaded ? loaded->fisno : 0)) {
        if (loaded && issued != loaded->fisno)
            refusal = QStringLiteral("Fiş No kaydedilmedi: bu arada başka bir masada makbuz "
                                     "verildi (son makbuz %1).")
                          .arg(issued);
        else if (edited.fisno < issued)
            refusal = QStringLiteral("Fiş No kaydedilmedi: verilmiş son makbuz numarasından "
                                     "(%1) küçük olamaz.")
                          .arg(issued);
        else
            row.fisno = edited.fisno;
    }
    // A number moved on by hand is kept beside the collections too, so the
    // desks go on from it; the numbers it passes over are recorded as never
    // to be issued.
    const bool movedOn = row.fisno > issued;
    const bool stored =
        data::storeSettings(s.ayar, row) &&
        (!movedOn ||
         (data::setNamedValue(s.genel, s.messages, data::receiptCounterName(), QString(), false,
                              row.fisno) &&
          (issued == 0 ||
           data::recordUnusedReceipts(s.koop, {issued + 1, row.fisno, s.today(),
                                               QStringLiteral("Fiş No ayarlarda %1 iken %2 yapıldı")
                                                   .arg(issued)
                                                   .arg(row.fisno)})))) &&
        work.commit() && work.settingsStored();
    if (!stored) {
        work.rollback();
        const QString why = data::failureText(work.settingsFailure());
        s.messages.warning((why.isEmpty() ? QString() : why + u'\n') +
                           QStringLiteral("Ayarlar Kaydedilemiyor.."));
        return false;
    }
    if (!refusal.isEmpty()) {
        s.messages.warning(refusal + QStringLiteral("\nDiğer ayarlar kaydedildi."));
        return false;
    }
    return true;
}

QStringList keys() {
    QStringList out;
    for (int i = 1; i <= 5; ++i)
        out << QStringLiteral("ack%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        out << QStringLiteral("muh%1").arg(i);
    out << QStringLiteral("faiz") << QStringLiteral("tolerans") << QStringLiteral("fisno");
    return out;
}

namespace {

// A whole number of digits only, as the number field types it.
std::optional<int> wholeNumber(const QString &text, int max) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); }) || v > max)
        return std::nullopt;
    return int(v);
}

} // namespace

std::optional<QString> apply(data::Settings &s, const QString &key, const QString &value) {
    const auto text = [&](QString &field, int length) -> std::optional<QString> {
        if (value.size() > length)
            return key + QStringLiteral(" en çok %1 karakter alır: ").arg(length) + value;
        field = value;
        return std::nullopt;
    };
    for (size_t i = 0; i < 5; ++i) {
        if (key == QStringLiteral("ack%1").arg(i + 1))
            return text(s.ack[i], CaptionLength);
        if (key == QStringLiteral("muh%1").arg(i + 1))
            return text(s.muh[i], AccountLength);
    }
    const auto whole = [&](int &field, int max) -> std::optional<QString> {
        const auto n = wholeNumber(value, max);
        if (!n)
            return key + QStringLiteral(" 0 ile %1 arasında bir tam sayı olmalı: ").arg(max) +
                   value;
        field = *n;
        return std::nullopt;
    };
    if (key == u"tolerans")
        return whole(s.tolerans, ToleransMax);
    if (key == u"fisno")
        return whole(s.fisno, FisnoMax);
    if (key == u"faiz") {
        const auto rate = parseTypedAmount(value, FaizDecimals);
        if (!rate || value.startsWith(u'-') || value.startsWith(u'+') ||
            *rate > Money::fromWhole(qint64(FaizMax)))
            return QStringLiteral("faiz 0 ile 99 arasında, en çok iki ondalıklı bir sayı olmalı "
                                  "(nokta ile): ") +
                   value;
        s.faiz = rate->toDouble();
        return std::nullopt;
    }
    return QStringLiteral("Bilinmeyen ayar: ") + key + QStringLiteral("\nAyarlar: ") +
           keys().join(QStringLiteral(", "));
}

namespace {

QString rate(double faiz) {
    return QString::number(faiz, 'f', FaizDecimals);
}

} // namespace

QString asText(const std::optional<data::Settings> &row) {
    const data::Settings s = row.value_or(data::Settings{});
    QString out;
    if (!row)
        out += QStringLiteral("Ayarlar Yapılmamış...\n");
    out += QStringLiteral("%1  %2  %3\n")
               .arg(QString(), -8)
               .arg(QStringLiteral("Açıklama"), -CaptionLength)
               .arg(QStringLiteral("Muhasebe Kodu"));
    for (size_t i = 0; i < 5; ++i)
        out += QStringLiteral("%1  %2  %3\n")
                   .arg(QStringLiteral("İşlem %1").arg(i + 1), -8)
                   .arg(s.ack[i], -CaptionLength)
                   .arg(s.muh[i]);
    out += QStringLiteral("Faiz (Aylık)   : ") + rate(s.faiz) + u'\n';
    out += QStringLiteral("Tolerans (Gün) : ") + QString::number(s.tolerans) + u'\n';
    out += QStringLiteral("Fiş No         : ") + QString::number(s.fisno) + u'\n';
    return out;
}

QString asJson(const std::optional<data::Settings> &row) {
    const data::Settings s = row.value_or(data::Settings{});
    QJsonObject doc{{"kayitli", row.has_value()}};
    for (size_t i = 0; i < 5; ++i) {
        doc.insert(QStringLiteral("ack%1").arg(i + 1), s.ack[i]);
        doc.insert(QStringLiteral("muh%1").arg(i + 1), s.muh[i]);
    }
    doc.insert(QStringLiteral("faiz"), rate(s.faiz).toDouble());
    doc.insert(QStringLiteral("tolerans"), s.tolerans);
    doc.insert(QStringLiteral("fisno"), s.fisno);
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace settingsform
