#include "actions/collection/voidaction.h"

#include "base/csv.h"
#include "base/daynumber.h"
#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "posting/voidcollection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace collection {

namespace {

// The collections of the number taken from the member `kod` (any member
// when empty) on `date` (any day when invalid), those still live and whether
// any was voided. Nothing, with why in *error, when the company cannot tell.
struct Matching {
    std::vector<data::StoredCollection> live;
    bool anyVoided = false;
};
std::optional<Matching> matching(Company &s, const QString &number, const QString &kod,
                                 const QDate &date, QString *error) {
    std::vector<data::StoredCollection> found;
    if (!data::findCollections(s.data, number.trimmed(), &found)) {
        *error = QStringLiteral("Makbuz okunamadı: ") + s.data.lastError();
        return std::nullopt;
    }
    Matching out;
    for (data::StoredCollection &c : found) {
        if (!kod.trimmed().isEmpty() && c.carkod.trimmed() != kod.trimmed())
            continue;
        if (date.isValid() && c.tarih != date)
            continue;
        bool unreadable = false;
        const bool voided = data::isVoided(s.koop, s.data, c, &unreadable);
        if (unreadable) {
            *error = QStringLiteral("İptal edilen makbuzlar okunamadı.");
            return std::nullopt;
        }
        out.anyVoided = out.anyVoided || voided;
        if (!voided)
            out.live.push_back(std::move(c));
    }
    return out;
}

// The one live collection the request names. Nothing after the message when
// the number cannot be voided.
std::optional<data::StoredCollection> collectionToVoid(Company &s, const VoidRequest &r) {
    const QString number = r.receiptNo.trimmed();
    QString error;
    auto found = matching(s, number, r.kod, r.receiptDate, &error);
    if (!found) {
        s.messages.warning(error);
        return std::nullopt;
    }
    std::vector<data::StoredCollection> &live = found->live;
    if (live.empty()) {
        s.messages.warning(number + (found->anyVoided
                                         ? QStringLiteral(" numaralı makbuz daha önce iptal "
                                                          "edilmiş.")
                                         : QStringLiteral(" numaralı bir makbuz verilmemiş.")));
        return std::nullopt;
    }
    if (live.size() > 1) {
        s.messages.warning(number + QStringLiteral(" numaralı %1 tahsilat var; hangisinin iptal "
                                                   "edileceği için üye kodunu ve makbuz tarihini "
                                                   "de veriniz.")
                                        .arg(live.size()));
        return std::nullopt;
    }
    data::StoredCollection &c = live.front();
    Money ledger;
    for (const data::CollectedRow &row : c.ledger)
        ledger += row.tutar;
    if (!c.ledger.empty() && ledger != c.tutar) {
        s.messages.warning(number + QStringLiteral(" numaralı makbuzun cari hareketleri kasa "
                                                   "kaydıyla uyuşmuyor; iptal elle yapılmalı."));
        return std::nullopt;
    }
    if (r.date < c.tarih) {
        s.messages.warning(QStringLiteral("İptal tarihi makbuz tarihinden (") +
                           formatTrDate(c.tarih) + QStringLiteral(") önce olamaz."));
        return std::nullopt;
    }
    return std::move(c);
}

} // namespace

std::optional<Voided> voidReceipt(Company &s, const VoidRequest &r) {
    const QString reason = r.reason.trimmed();
    bool numeric = false;
    const qint64 number = r.receiptNo.trimmed().toLongLong(&numeric);
    if (!numeric || number <= 0 || number > std::numeric_limits<qint32>::max()) {
        s.messages.warning(QStringLiteral("Makbuz No hatalı: ") + r.receiptNo);
        return std::nullopt;
    }
    if (reason.isEmpty()) {
        s.messages.warning(QStringLiteral("İptal nedeni yazılmamış."));
        return std::nullopt;
    }
    if (reason.size() > data::ReasonLength) {
        s.messages.warning(
            QStringLiteral("İptal nedeni en çok %1 karakter olabilir.").arg(data::ReasonLength));
        return std::nullopt;
    }
    if (!r.date.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return std::nullopt;
    }
    // Under the write lock: two desks voiding the same receipt take turns,
    // and the second finds it voided.
    UnitOfWork work(s);
    if (!work.active())
        return std::nullopt;
    auto c = collectionToVoid(s, r);
    if (!c)
        return std::nullopt;
    Voided out;
    out.refer = posting::postVoid(work, {*c, r.date, reason});
    if (out.refer.isEmpty() || !work.commit())
        return std::nullopt;
    out.collection = std::move(*c);
    out.dayTotalPending = work.dayTotalsPending();
    out.listed = work.settingsStored();
    if (!out.listed)
        s.messages.warning(data::failureText(work.settingsFailure()) + u'\n' +
                           QStringLiteral("Makbuz iptal edildi, ama iptal edilen makbuzlar "
                                          "listesine yazılamadı."));
    return out;
}

std::optional<Earlier> receiptOf(Company &s, const QString &receiptNo, const QString &kod) {
    QString error;
    const auto found = matching(s, receiptNo, kod, {}, &error);
    if (!found || found->live.empty())
        return std::nullopt;
    const data::StoredCollection &c = found->live.back();
    return Earlier{c.evrak, c.tutar, c.ack, formatTrDate(c.tarih)};
}

bool receiptVoided(Company &s, const QString &receiptNo, const QString &kod, const QDate &date) {
    QString error;
    const auto found =
        receiptNo.trimmed().isEmpty() ? std::nullopt : matching(s, receiptNo, kod, date, &error);
    return found && found->anyVoided;
}

std::optional<std::vector<VoidLine>> voidsList(Company &s, const QDate &from, const QDate &to) {
    std::vector<data::VoidedReceipt> voids;
    if (!data::readVoidedReceipts(s.koop, from, to, &voids)) {
        s.messages.warning(QStringLiteral("İptal edilen makbuzlar okunamadı: ") +
                           s.koop.lastError());
        return std::nullopt;
    }
    std::vector<VoidLine> out;
    out.reserve(voids.size());
    for (data::VoidedReceipt &v : voids) {
        const auto card = data::readMember(s.carkart, v.kod);
        out.push_back({std::move(v), card ? card->isim1 : QString()});
    }
    return out;
}

QString voidsRange(const QDate &from, const QDate &to) {
    if (!from.isValid() && !to.isValid())
        return {};
    return (from.isValid() ? formatTrDate(from) : QString()) + QStringLiteral(" - ") +
           (to.isValid() ? formatTrDate(to) : QString());
}

QStringList voidsCaptions() {
    return {QStringLiteral("Makbuz No"),    QStringLiteral("Makbuz Tarihi"),
            QStringLiteral("İptal Tarihi"), QStringLiteral("Üye Kodu"),
            QStringLiteral("Ünvan"),        QStringLiteral("Tutar"),
            QStringLiteral("İptal Nedeni")};
}

QStringList shownVoid(const VoidLine &l, int tlonda) {
    return {QString::number(l.v.receiptNo),
            formatTrDate(l.v.receiptDate),
            formatTrDate(l.v.date),
            l.v.kod,
            l.name,
            formatAmount(l.v.tutar, tlonda),
            l.v.reason};
}

QString voidsAsText(const std::vector<VoidLine> &lines, int tlonda) {
    constexpr int widths[] = {9, 13, 12, 8, 30, 15, 0};
    const auto line = [&](const QStringList &cells) {
        QString out;
        for (int i = 0; i < cells.size(); ++i) {
            const QString cell = widths[i] == 0 ? cells[i] : cells[i].left(widths[i]);
            out += i == 5 ? cell.rightJustified(widths[i]) : cell.leftJustified(widths[i]);
            if (i + 1 < cells.size())
                out += u' ';
        }
        while (out.endsWith(u' '))
            out.chop(1);
        return out + u'\n';
    };
    QString out = QStringLiteral("İPTAL EDİLEN MAKBUZLAR\n\n") + line(voidsCaptions());
    Money total;
    for (const VoidLine &l : lines) {
        out += line(shownVoid(l, tlonda));
        total += l.v.tutar;
    }
    return out + line({QString(), QString(), QString(), QString(), QStringLiteral("TOPLAM"),
                       formatAmount(total, tlonda), QString()});
}

QString voidsAsCsv(const std::vector<VoidLine> &lines, int tlonda) {
    QString out = QStringLiteral("makbuz,mtarih,tarih,kod,isim,tutar,neden,refer,irefer\n");
    for (const VoidLine &l : lines)
        out += QStringList{QString::number(l.v.receiptNo),
                           formatTrDate(l.v.receiptDate),
                           formatTrDate(l.v.date),
                           csvField(l.v.kod),
                           csvField(l.name),
                           plainAmount(l.v.tutar, tlonda),
                           csvField(l.v.reason),
                           l.v.refer,
                           l.v.voidRefer}
                   .join(u',') +
               u'\n';
    return out;
}

QString voidsAsJson(const std::vector<VoidLine> &lines, int tlonda) {
    QJsonArray rows;
    for (const VoidLine &l : lines)
        rows.append(QJsonObject{{"makbuz", l.v.receiptNo},
                                {"mtarih", formatTrDate(l.v.receiptDate)},
                                {"tarih", formatTrDate(l.v.date)},
                                {"kod", l.v.kod},
                                {"isim", l.name},
                                {"tutar", plainAmount(l.v.tutar, tlonda)},
                                {"neden", l.v.reason},
                                {"refer", l.v.refer},
                                {"irefer", l.v.voidRefer}});
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{"rows", rows}}).toJson(QJsonDocument::Indented));
}

} // namespace collection
