#include "actions/company/demo.h"

#include "core/companyfolder.h"
#include "core/unitofwork.h"
#include "data/xbase.h"
#include "posting/cashcollection.h"
#include "posting/posting.h"

#include <QDir>
#include <QLocale>
#include <array>
#include <random>

namespace newcompany {

namespace {

const char16_t *const FirstNames[] = {
    u"Ayşe",    u"Mehmet", u"Fatma", u"Ahmet",  u"Zeynep",  u"Mustafa", u"Şükrü", u"Gülşen",
    u"İsmail",  u"Özlem",  u"Çağla", u"Ümit",   u"Ğülay",   u"Öykü",    u"Işıl",  u"Çetin",
    u"Şebnem",  u"Ülkü",   u"İlker", u"Doğan",  u"Gökçe",   u"Ilgaz",   u"Müge",  u"Tuğçe",
    u"Hüseyin", u"Büşra",  u"Oğuz",  u"Sevgül", u"Erdoğan", u"Nurşen"};
const char16_t *const Surnames[] = {
    u"Yılmaz",  u"Kaya",    u"Demir",  u"Şahin",  u"Çelik", u"Yıldız",     u"Öztürk",
    u"Aydın",   u"Özdemir", u"Arslan", u"Doğan",  u"Kılıç", u"Aslan",      u"Çetin",
    u"Koç",     u"Kurt",    u"Özkan",  u"Şimşek", u"Polat", u"Öz",         u"Güneş",
    u"Erdoğan", u"Işık",    u"Ünal",   u"Çakır",  u"İnce",  u"Büyükçağlar"};
const char16_t *const Streets[] = {u"Atatürk Cad.",       u"Gül Sok.",      u"Çınar Sok.",
                                   u"Şehit Öğretmen Sk.", u"İstiklal Cad.", u"Ihlamur Sok.",
                                   u"Üzüm Çarşısı Sk.",   u"Göğüş Sok."};
const char16_t *const Districts[] = {u"Çankaya / ANKARA",   u"Kadıköy / İSTANBUL",
                                     u"Karşıyaka / İZMİR",  u"Üsküdar / İSTANBUL",
                                     u"Yenişehir / MERSİN", u"Eskişehir / ESKİŞEHİR"};
const char16_t *const Heads[] = {u"Aidat", u"Yakıt", u"Su", u"Otopark", u"Demirbaş"};

class Rng {
  public:
    explicit Rng(uint32_t seed) : m_gen(seed) {}
    int below(int n) { return static_cast<int>(m_gen() % static_cast<uint32_t>(n)); }
    template <size_t N> QString pick(const char16_t *const (&list)[N]) {
        return QString::fromUtf16(list[below(int(N))]);
    }

  private:
    std::mt19937 m_gen;
};

bool addRow(data::TableCursor &c, const std::vector<std::pair<const char *, QVariant>> &values) {
    if (!data::RsAddNew(c))
        return false;
    for (const auto &[field, value] : values)
        data::FieldSet(c, QString::fromLatin1(field), value);
    return data::RsUpdate(c);
}

QVariant money(int64_t whole, int64_t kurus = 0) {
    return QVariant::fromValue(Money::fromUnits(whole * Money::Scale + kurus * 100));
}

struct DemoMember {
    QString kod;
    QString name;
    std::array<Money, 5> prices;
    int habit; // 0 pays on time, 1 pays late in lumps, 2 pays more, 3 pays now and then
};

// Two years of monthly dues for every member and the collections a real
// office would see: most pay in the month, some months late, a few pay more
// than they owe. Everything goes through the program's own posting code, in
// one action.
bool fillDemoLedger(const QString &folder, Rng &rng, const std::vector<DemoMember> &members,
                    const std::array<QString, 5> &heads, Messages &messages, int *rows) {
    Session s(messages);
    // The reference codes' date letters must not depend on the day init runs.
    s.today = [] { return QDate(2026, 12, 31); };
    if (!startup::openCompanyFolder(s, folder))
        return false;
    UnitOfWork work(s);
    if (!work.active())
        return false;
    static const QLocale tr(QLocale::Turkish, QLocale::Turkey);
    qint32 receipt = 1000;
    std::vector<Money> owed(members.size());
    for (int m = 0; m < 24; ++m) {
        const QDate first(2025 + m / 12, m % 12 + 1, 1);
        const QString month = tr.toString(first, QStringLiteral("MMMM yyyy"));
        for (size_t i = 0; i < members.size(); ++i) {
            const DemoMember &dm = members[i];
            for (size_t h = 0; h < 5; ++h) {
                if (dm.prices[h] <= Money())
                    continue;
                if (!posting::PostDebt(work, work.reference(1), false, dm.kod, dm.prices[h],
                                       month + u' ' + heads[h], ledger::Debt,
                                       QString::number(h + 1), first))
                    return false;
                owed[i] += dm.prices[h];
                ++*rows;
            }
        }
        for (size_t i = 0; i < members.size(); ++i) {
            const DemoMember &dm = members[i];
            Money pay;
            switch (dm.habit) {
            case 0:
                pay = owed[i];
                break;
            case 1:
                pay = m % 3 == 2 ? owed[i] : Money();
                break;
            case 2:
                pay = owed[i] + Money::fromWhole(100 * (1 + rng.below(3)));
                break;
            default:
                pay = rng.below(10) < 6 ? owed[i] : Money();
                break;
            }
            if (pay <= Money())
                continue;
            posting::CashCollection c;
            c.kod = dm.kod;
            c.name = dm.name;
            // Late payers come in the month after, on a day the office is open.
            c.date = first.addMonths(dm.habit == 1 ? 1 : 0).addDays(2 + rng.below(20));
            c.receiptNo = ++receipt;
            c.amount = pay;
            if (!posting::postCashCollection(work, c).committed)
                return false;
            owed[i] -= pay;
            *rows += 1;
        }
    }
    if (!work.commit())
        return false;
    if (!work.settingsStored())
        messages.warning(QStringLiteral("Program ayarları saklanamadı."));
    return work.settingsStored();
}

} // namespace

QString DemoSummary::text() const {
    return QStringLiteral("%1 üye, %2 diğer kart, %3 fiyat satırı, %4 hareket satırı")
        .arg(members)
        .arg(others)
        .arg(prices)
        .arg(ledgerRows);
}

bool fillDemoCompany(const QString &folder, uint32_t seed, Messages &messages,
                     DemoSummary *summary) {
    const QDir dir(folder);
    data::Database xdata, koop;
    const auto server = data::readServerAddress(dir.filePath(QStringLiteral("korvane.dat")));
    const bool opened = server ? xdata.openServer(*server, server->dataSchema, false) &&
                                     koop.openServer(*server, server->koopSchema, false)
                               : data::DbOpen(xdata, dir.filePath(QStringLiteral("xdata.dat"))) &&
                                     data::DbOpen(koop, dir.filePath(QStringLiteral("dalun.dat")));
    if (!opened) {
        messages.warning(QStringLiteral("Şirket Dosyaları Bulunamadı."));
        return false;
    }
    data::TableCursor carkart, genel, fiat, ayar;
    if (!data::RsOpen(xdata, carkart, QStringLiteral("carkart")) ||
        !data::RsOpen(xdata, genel, QStringLiteral("genel")) ||
        !data::RsOpen(koop, fiat, QStringLiteral("fiat")) ||
        !data::RsOpen(koop, ayar, QStringLiteral("ayar")) || !xdata.beginWrite() ||
        !koop.beginWrite()) {
        messages.warning(QStringLiteral("Örnek şirket yazılamadı."));
        return false;
    }

    Rng rng(seed);
    DemoSummary s;
    std::vector<DemoMember> demoMembers;
    bool ok = true;
    const int cards = 300;
    for (int i = 1; i <= cards && ok; ++i) {
        const QString kod = QString::number(i).rightJustified(4, u'0');
        const int roll = rng.below(100);
        const int asd = roll < 90 ? 0 : (roll < 96 ? 1 : 2);
        const QString name = rng.pick(FirstNames) + u' ' + rng.pick(Surnames);
        const QString block = QString(QChar(u'A' + rng.below(4)));
        const bool withAccount = rng.below(10) < 7;
        ok = addRow(
            carkart,
            {{"kod", kod},
             {"isim1", asd == 0 ? name : rng.pick(Surnames) + QStringLiteral(" Ltd. Şti.")},
             {"isim2", asd == 0 && rng.below(5) == 0
                           ? rng.pick(FirstNames) + u' ' + rng.pick(Surnames)
                           : QString()},
             {"adr1",
              rng.pick(Streets) +
                  QStringLiteral(" No:%1 D:%2").arg(1 + rng.below(120)).arg(1 + rng.below(24))},
             {"adr2", QStringLiteral("%1 Blok").arg(block)},
             {"adr3", rng.pick(Districts)},
             {"grp", block},
             {"tip", asd == 0 ? QStringLiteral("ÜYE") : QStringLiteral("TEDARİKÇİ")},
             {"ozel", rng.below(8) == 0 ? QStringLiteral("YÖNETİM") : QString()},
             {"asd", asd},
             {"muhasebe", withAccount ? QStringLiteral("120.01.") + kod : QString()},
             {"borc1", money(0)},
             {"alacak1", money(0)},
             {"borc2", money(0)},
             {"alacak2", money(0)},
             {"borc3", money(0)},
             {"alacak3", money(0)}});
        if (asd != 0) {
            ++s.others;
            continue;
        }
        ++s.members;
        const bool parking = rng.below(3) == 0;
        const int habitRoll = rng.below(20);
        demoMembers.push_back(
            {kod,
             name,
             {Money::fromWhole(850), *Money::parse("120.50"), *Money::parse("64.75"),
              Money::fromWhole(parking ? 150 : 0), Money()},
             habitRoll < 10   ? 0
             : habitRoll < 15 ? 1
             : habitRoll < 17 ? 2
                              : 3});
        const auto &prices = demoMembers.back().prices;
        const auto price = [](Money m) { return QVariant::fromValue(m); };
        ok = ok && addRow(fiat, {{"cari", kod},
                                 {"fiat1", price(prices[0])},
                                 {"fiat2", price(prices[1])},
                                 {"fiat3", price(prices[2])},
                                 {"fiat4", price(prices[3])},
                                 {"fiat5", price(prices[4])}});
        ++s.prices;
    }
    std::vector<std::pair<const char *, QVariant>> settings;
    static const char *const ackNames[] = {"ack1", "ack2", "ack3", "ack4", "ack5"};
    static const char *const muhNames[] = {"muh1", "muh2", "muh3", "muh4", "muh5"};
    for (int h = 0; h < 5; ++h) {
        settings.emplace_back(ackNames[h], QString::fromUtf16(Heads[h]));
        settings.emplace_back(muhNames[h], QStringLiteral("600.01.0%1").arg(h + 1));
    }
    settings.emplace_back("faiz", 2.0);
    settings.emplace_back("tolerans", 0);
    settings.emplace_back("fisno", 1000);
    ok = ok && addRow(ayar, settings);
    ok = ok && addRow(genel, {{"ack", QStringLiteral("tlonda")}, {"value", 2}}) &&
         addRow(genel, {{"ack", QStringLiteral("tlnick")}, {"tanim", QStringLiteral("TL")}}) &&
         addRow(genel, {{"ack", QStringLiteral("krnick")}, {"tanim", QStringLiteral("Kr")}}) &&
         addRow(genel, {{"ack", QStringLiteral("unvan")},
                        {"tanim", QStringLiteral("Yeşilçam Güneşli Konut Yapı Kooperatifi")}});
    if (!ok || !xdata.commit() || !koop.commit()) {
        xdata.rollback();
        koop.rollback();
        messages.warning(QStringLiteral("Örnek şirket yazılamadı."));
        return false;
    }
    xdata.close();
    koop.close();
    std::array<QString, 5> heads;
    for (size_t h = 0; h < 5; ++h)
        heads[h] = QString::fromUtf16(Heads[h]);
    if (!fillDemoLedger(folder, rng, demoMembers, heads, messages, &s.ledgerRows)) {
        messages.warning(QStringLiteral("Örnek şirketin hareketleri yazılamadı."));
        return false;
    }
    if (summary)
        *summary = s;
    return true;
}

} // namespace newcompany
