#include "actions/company/companyinfo.h"

#include "base/inifile.h"
#include "core/unitofwork.h"
#include "data/koopdata.h"
#include "data/serveraddress.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace companyinfo {

namespace {

const QString Receipt = QStringLiteral("makbuz");

QString headerKey(size_t line) {
    return QStringLiteral("baslik%1").arg(line + 1);
}

// How many ledger amounts carry more decimals than `decimals`; nothing
// when they cannot be counted (the message has been shown).
std::optional<qint64> finerAmounts(Company &s, int decimals) {
    qint64 unit = 1;
    for (int d = decimals; d < MaxDecimals; ++d)
        unit *= 10;
    if (unit == 1)
        return 0;
    data::QueryCursor q;
    if (!data::QueryOpen(s.data, q,
                         QStringLiteral("SELECT count(*) FROM carhar WHERE tutar % ? <> 0"), {unit},
                         s.messages))
        return q.failed() ? std::nullopt : std::optional<qint64>(0);
    return q.number(0);
}

} // namespace

Info load(Company &s) {
    Info info;
    info.unvan = data::namedText(s.genel, QStringLiteral("unvan"));
    info.tlonda = data::namedNumber(s.genel, QStringLiteral("tlonda"));
    info.tlnick = data::namedText(s.genel, QStringLiteral("tlnick"));
    info.krnick = data::namedText(s.genel, QStringLiteral("krnick"));
    const QString file = s.companyFile(QStringLiteral("korvane.dat"));
    info.baslik[0] = ini::readValue(Receipt, headerKey(0), info.unvan.trimmed(), file);
    for (size_t i = 1; i < 3; ++i)
        info.baslik[i] = ini::readValue(Receipt, headerKey(i), QString(), file);
    if (const auto server = data::readServerAddress(file))
        info.server = server->display();
    return info;
}

bool save(Company &s, const Info &loaded, const Info &edited) {
    if (edited.tlonda < loaded.tlonda) {
        const auto finer = finerAmounts(s, edited.tlonda);
        if (!finer)
            return false;
        if (*finer > 0) {
            s.messages.warning(QStringLiteral("Ondalık sayısı %1 yapılamaz: %2 hareketin "
                                              "tutarında daha çok ondalık var.\nŞirket "
                                              "bilgileri kaydedilmedi.")
                                   .arg(edited.tlonda)
                                   .arg(*finer));
            return false;
        }
    }
    struct Named {
        const char *name;
        QString text;
        int number;
        bool changed;
    };
    const Named named[] = {
        {"unvan", edited.unvan, 0, edited.unvan != loaded.unvan},
        {"tlonda", QString(), edited.tlonda, edited.tlonda != loaded.tlonda},
        {"tlnick", edited.tlnick, 0, edited.tlnick != loaded.tlnick},
        {"krnick", edited.krnick, 0, edited.krnick != loaded.krnick},
    };
    if (std::any_of(std::begin(named), std::end(named), [](const Named &n) { return n.changed; })) {
        UnitOfWork work(s, UnitOfWork::Data);
        if (!work.active())
            return false;
        bool stored = true;
        for (const Named &n : named)
            stored = stored && (!n.changed || data::setNamedValue(s.genel, s.messages,
                                                                  QString::fromLatin1(n.name),
                                                                  n.text, false, n.number));
        if (!stored || !work.commit()) {
            work.rollback();
            s.messages.warning(QStringLiteral("Şirket bilgileri kaydedilemedi."));
            return false;
        }
        s.tlonda = qint16(edited.tlonda);
        s.tlnick = edited.tlnick;
        s.krnick = edited.krnick;
    }
    // The receipt's head is the company folder's file, written after the
    // tables: a refusal there leaves the name and the money as stored.
    const QString file = s.companyFile(QStringLiteral("korvane.dat"));
    for (size_t i = 0; i < 3; ++i)
        if (edited.baslik[i] != loaded.baslik[i] &&
            !ini::writeValue(Receipt, headerKey(i), file, edited.baslik[i])) {
            s.messages.warning(QStringLiteral("korvane.dat yazılamadı:\n") + file +
                               QStringLiteral("\nMakbuz başlıkları kaydedilmedi."));
            return false;
        }
    return true;
}

QStringList keys() {
    return {QStringLiteral("unvan"),  QStringLiteral("tlonda"),  QStringLiteral("tlnick"),
            QStringLiteral("krnick"), QStringLiteral("baslik1"), QStringLiteral("baslik2"),
            QStringLiteral("baslik3")};
}

std::optional<QString> apply(Info &info, const QString &key, const QString &value) {
    const auto text = [&](QString &field, int length) -> std::optional<QString> {
        if (!data::isValidUtf16(value))
            return key + QStringLiteral(" geçersiz karakter içeriyor.");
        if (value.size() > length)
            return key + QStringLiteral(" en çok %1 karakter alır: ").arg(length) +
                   value.left(length) + QStringLiteral("…");
        field = value;
        return std::nullopt;
    };
    if (key == u"unvan")
        return text(info.unvan, NameLength);
    if (key == u"tlnick")
        return text(info.tlnick, CurrencyLength);
    if (key == u"krnick")
        return text(info.krnick, CurrencyLength);
    for (size_t i = 0; i < 3; ++i)
        if (key == headerKey(i))
            return text(info.baslik[i], HeaderLength);
    if (key == u"tlonda") {
        if (value.size() != 1 || value[0] < u'0' || value[0] > QChar(u'0' + MaxDecimals))
            return QStringLiteral("tlonda 0 ile %1 arasında bir sayı olmalı: ").arg(MaxDecimals) +
                   value;
        info.tlonda = value[0].digitValue();
        return std::nullopt;
    }
    return QStringLiteral("Bilinmeyen şirket bilgisi: ") + key + QStringLiteral("\nBilgiler: ") +
           keys().join(QStringLiteral(", "));
}

std::optional<QString> apply(Info &info, const std::vector<std::pair<QString, QString>> &values) {
    for (const auto &[key, value] : values)
        if (auto refusal = apply(info, key, value))
            return refusal;
    return std::nullopt;
}

QString asText(const Info &info) {
    QString out;
    const auto line = [&out](const QString &label, const QString &value) {
        out += label.leftJustified(18) + QStringLiteral(": ") + value + u'\n';
    };
    line(QStringLiteral("Ünvan"), info.unvan);
    line(QStringLiteral("Ondalık"), QString::number(info.tlonda));
    line(QStringLiteral("Para birimi"), info.tlnick);
    line(QStringLiteral("Alt birim"), info.krnick);
    for (size_t i = 0; i < 3; ++i)
        line(QStringLiteral("Makbuz başlığı %1").arg(i + 1), info.baslik[i]);
    line(QStringLiteral("Veriler"),
         info.server.isEmpty() ? QStringLiteral("şirket klasöründe") : info.server);
    return out;
}

QString asJson(const Info &info) {
    QJsonObject doc{{"unvan", info.unvan},
                    {"tlonda", info.tlonda},
                    {"tlnick", info.tlnick},
                    {"krnick", info.krnick},
                    {"sunucu", info.server}};
    for (size_t i = 0; i < 3; ++i)
        doc.insert(headerKey(i), info.baslik[i]);
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace companyinfo
