#include "actions/members/memberaction.h"

#include "core/unitofwork.h"
#include "data/cardtable.h"
#include "data/koopdata.h"
#include "data/prices.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace members {

namespace {

const QString Asd = QStringLiteral("asd");

QString notStored(const data::Database &db) {
    const QString why = data::failureText(db.failure());
    return (why.isEmpty() ? QString() : why + u'\n') + QStringLiteral("Üye kartı kaydedilemedi.");
}

// The card's fields as the writer takes them: texts, the kind a number.
QHash<QString, QVariant> valuesOf(const Card &card, const Card *before = nullptr) {
    QHash<QString, QVariant> values;
    for (const QString &field : data::cardFields()) {
        const QString v = card.value(field);
        if (before && before->value(field) == v)
            continue;
        values.insert(field, field == Asd ? QVariant(v.toInt()) : QVariant(v));
    }
    return values;
}

std::optional<QString> checkAll(const Card &card) {
    for (const QString &field : data::cardFields())
        if (auto refusal = check(field, card.value(field)))
            return refusal;
    return std::nullopt;
}

// The card is on file now, inside the action; a read the engine refused
// ends the action (false after the message).
bool onFile(Company &s, const QString &kod, bool *found) {
    *found = data::findMember(s.carkart, kod);
    if (!*found && s.data.failure() != data::Failure::None) {
        s.messages.warning(notStored(s.data));
        return false;
    }
    return true;
}

// Ends the action without writing; `text` is the refusal, empty when the
// failure has already said why.
bool refuse(Company &s, UnitOfWork &work, const QString &text) {
    work.rollback();
    if (!text.isEmpty())
        s.messages.warning(text);
    return false;
}

bool finish(Company &s, UnitOfWork &work, bool stored) {
    if (stored && work.commit())
        return true;
    work.rollback();
    s.messages.warning(notStored(s.data));
    return false;
}

} // namespace

QString Card::value(const QString &field) const {
    return fields.value(data::cardFields().indexOf(field));
}

void Card::set(const QString &field, const QString &v) {
    const qsizetype i = data::cardFields().indexOf(field);
    if (i >= 0)
        fields[i] = v;
}

int fieldSize(const QString &field) {
    return data::cardFieldSize(field);
}

QString kindName(int asd) {
    switch (asd) {
    case 0:
        return QStringLiteral("Üye");
    case 1:
        return QStringLiteral("Satıcı");
    default:
        return QStringLiteral("Diğer");
    }
}

std::optional<QString> check(const QString &field, const QString &value) {
    if (!data::cardFields().contains(field))
        return QStringLiteral("Bilinmeyen kart alanı: ") + field + QStringLiteral("\nAlanlar: ") +
               data::cardFields().join(QStringLiteral(", "));
    if (!data::isValidUtf16(value) || value.contains(QChar(u'\0')))
        return field + QStringLiteral(" geçersiz karakter içeriyor.");
    if (field == Asd) {
        if (value != u"0" && value != u"1" && value != u"2")
            return QStringLiteral("asd 0 (üye), 1 (satıcı) ya da 2 (diğer) olmalı: ") + value;
        return std::nullopt;
    }
    const int size = data::cardFieldSize(field);
    if (value.size() > size)
        return field + QStringLiteral(" en çok %1 karakter alır: ").arg(size) + value.left(size) +
               QStringLiteral("…");
    if (field == u"kod") {
        if (value.isEmpty())
            return QStringLiteral("Kod boş olamaz.");
        if (value != value.trimmed())
            return QStringLiteral("Kod boşlukla başlayamaz ya da bitemez: '") + value + u'\'';
    }
    return std::nullopt;
}

std::optional<Card> read(Company &s, const QString &kod) {
    if (!data::isValidUtf16(kod) || !data::findMember(s.carkart, kod))
        return std::nullopt;
    Card card;
    for (const QString &field : data::cardFields()) {
        const QVariant v = data::FieldGet(s.carkart, field);
        card.set(field, field == Asd ? QString::number(v.toInt()) : v.toString());
    }
    return card;
}

std::optional<std::vector<Card>> list(Company &s) {
    std::vector<std::vector<QVariant>> rows;
    if (!data::readCardTable(s.data, &rows, s.messages))
        return std::nullopt;
    std::vector<Card> out;
    out.reserve(rows.size());
    for (const auto &row : rows) {
        Card card;
        for (size_t i = 0; i < row.size() && i < size_t(card.fields.size()); ++i)
            card.fields[qsizetype(i)] = row[i].toString();
        out.push_back(std::move(card));
    }
    return out;
}

std::optional<qint64> rowsOf(Company &s, const QString &kod) {
    data::QueryCursor q;
    if (!data::QueryOpen(s.data, q,
                         QStringLiteral("SELECT (SELECT count(*) FROM carhar WHERE kod = ?) + "
                                        "(SELECT count(*) FROM kasa WHERE carkod = ?)"),
                         {kod, kod}, s.messages))
        return std::nullopt;
    const qint64 n = q.number(0);
    q.finish();
    return n;
}

bool add(Company &s, const Card &card) {
    if (const auto refusal = checkAll(card)) {
        s.messages.warning(*refusal + QStringLiteral("\nÜye kartı kaydedilmedi."));
        return false;
    }
    UnitOfWork work(s, UnitOfWork::Data);
    if (!work.active())
        return false;
    bool found = false;
    if (!onFile(s, card.kod(), &found))
        return refuse(s, work, QString());
    if (found)
        return refuse(s, work, QStringLiteral("Bu kodla bir kart zaten var: ") + card.kod());
    return finish(s, work, data::addCard(s.carkart, valuesOf(card)));
}

bool change(Company &s, const Card &loaded, const Card &edited) {
    if (const auto refusal = checkAll(edited)) {
        s.messages.warning(*refusal + QStringLiteral("\nÜye kartı kaydedilmedi."));
        return false;
    }
    const QString kod = loaded.kod(), newKod = edited.kod();
    const bool moving = newKod != kod;
    UnitOfWork work(s, moving ? UnitOfWork::Both : UnitOfWork::Data);
    if (!work.active())
        return false;
    bool found = false;
    if (moving) {
        if (!onFile(s, newKod, &found))
            return refuse(s, work, QString());
        if (found)
            return refuse(s, work, QStringLiteral("Bu kodla bir kart zaten var: ") + newKod);
        const auto rows = rowsOf(s, kod);
        if (!rows)
            return refuse(s, work, QString());
        if (*rows > 0)
            return refuse(s, work,
                          QStringLiteral("%1 kodu değiştirilemez: kartın %2 hareketi var.")
                              .arg(kod)
                              .arg(*rows));
        // The price row goes with the card, so the dues screens still find it.
        if (data::RsSeek(s.fiat, QStringLiteral("cari"), kod)) {
            if (newKod.size() > data::PriceCodeLength)
                return refuse(s, work,
                              QStringLiteral("Kartın aidat fiyatları var; fiyatların kodu en çok "
                                             "%1 karakter olabilir: ")
                                      .arg(data::PriceCodeLength) +
                                  newKod);
            if (!data::RsEdit(s.fiat))
                return finish(s, work, false);
            data::FieldSet(s.fiat, QStringLiteral("cari"), newKod);
            if (!data::RsUpdate(s.fiat))
                return finish(s, work, false);
        }
    }
    if (!onFile(s, kod, &found))
        return refuse(s, work, QString());
    if (!found)
        return refuse(s, work, QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
    return finish(s, work, data::changeCard(s.carkart, kod, valuesOf(edited, &loaded)));
}

bool remove(Company &s, const QString &kod) {
    UnitOfWork work(s);
    if (!work.active())
        return false;
    bool found = false;
    if (!onFile(s, kod, &found))
        return refuse(s, work, QString());
    if (!found)
        return refuse(s, work, QStringLiteral("Bu kodla bir üye kartı yok: ") + kod);
    const auto rows = rowsOf(s, kod);
    if (!rows)
        return refuse(s, work, QString());
    if (*rows > 0)
        return refuse(
            s, work,
            QStringLiteral("%1 kodlu kart silinemez: kartın %2 hareketi var.").arg(kod).arg(*rows));
    bool stored = data::findMember(s.carkart, kod) && data::RsDelete(s.carkart);
    if (stored && data::RsSeek(s.fiat, QStringLiteral("cari"), kod))
        stored = data::RsDelete(s.fiat);
    return finish(s, work, stored);
}

QStringList fields() {
    return data::cardFields();
}

QString label(const QString &field) {
    static const std::pair<const char *, const char16_t *> labels[] = {
        {"kod", u"Kod"},
        {"isim1", u"Adı Soyadı"},
        {"isim2", u"İsim 2"},
        {"adr1", u"Adres 1"},
        {"adr2", u"Adres 2"},
        {"adr3", u"Adres 3"},
        {"grp", u"Grup"},
        {"tip", u"Tip"},
        {"ozel", u"Özel Kod"},
        {"asd", u"Hesap Türü"},
        {"muhasebe", u"Muhasebe Kodu"}};
    for (const auto &[name, text] : labels)
        if (field == QLatin1String(name))
            return QString::fromUtf16(text);
    return field;
}

QString asText(const Card &card) {
    QString out;
    for (const QString &field : data::cardFields()) {
        QString v = card.value(field);
        if (field == Asd)
            v += QStringLiteral(" (") + kindName(v.toInt()) + u')';
        out += label(field).leftJustified(14) + QStringLiteral(": ") + v + u'\n';
    }
    return out;
}

QString asJson(const Card &card) {
    QJsonObject doc;
    for (const QString &field : data::cardFields())
        doc.insert(field, field == Asd ? QJsonValue(card.value(field).toInt())
                                       : QJsonValue(card.value(field)));
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

} // namespace members
