#include "actions/transfer/transferaction.h"

#include "actions/transfer/tablefile.h"
#include "base/ledger.h"
#include "core/unitofwork.h"
#include "data/cardtable.h"
#include "data/koopdata.h"
#include "data/ledger.h"
#include "data/prices.h"
#include "posting/posting.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <array>

namespace transfer {

namespace {

// What a column holds, and so how its cells are checked.
enum class Type {
    Text,     // at most `size` characters
    CardKind, // asd: 0, 1 or 2
    Price,    // an amount, not below 0
    Balance,  // an amount; below 0 for a credit
};

struct Column {
    QString name;
    Type type = Type::Text;
    int size = 0;
    QStringList aliases; // other headings that name it
};

// Heads 1 to 5, then what belongs to no head.
constexpr size_t AmountSlots = 6;
constexpr size_t OtherSlot = 5;

const QString OpeningText = QStringLiteral("Devir");

// A heading as the clerk may have typed it: case, Turkish letters, dots and
// extra blanks do not matter ("ADI SOYADI", "Adi  Soyadı").
QString folded(const QString &heading) {
    static const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    QString out = turkish.toLower(heading.simplified());
    static const std::pair<char16_t, char16_t> letters[] = {
        {u'ç', u'c'}, {u'ğ', u'g'}, {u'ı', u'i'}, {u'ö', u'o'}, {u'ş', u's'}, {u'ü', u'u'}};
    for (const auto &[from, to] : letters)
        out.replace(QChar(from), QChar(to));
    out.remove(u'.');
    return out;
}

std::vector<Column> columnsOf(Kind kind, const std::array<QString, 5> &captions) {
    std::vector<Column> columns;
    const auto add = [&columns](const QString &name, Type type, int size, QStringList aliases) {
        columns.push_back({name, type, size, std::move(aliases)});
    };
    if (kind == Kind::Members) {
        static const QHash<QString, QStringList> aliases{
            {QStringLiteral("kod"),
             {QStringLiteral("Kod"), QStringLiteral("Cari Kod"), QStringLiteral("Üye Kodu")}},
            {QStringLiteral("isim1"),
             {QStringLiteral("Adı Soyadı"), QStringLiteral("Ad Soyad"), QStringLiteral("Unvan"),
              QStringLiteral("İsim"), QStringLiteral("İsim 1")}},
            {QStringLiteral("isim2"), {QStringLiteral("İsim 2"), QStringLiteral("Unvan 2")}},
            {QStringLiteral("adr1"), {QStringLiteral("Adres 1"), QStringLiteral("Adres")}},
            {QStringLiteral("adr2"), {QStringLiteral("Adres 2")}},
            {QStringLiteral("adr3"), {QStringLiteral("Adres 3")}},
            {QStringLiteral("grp"), {QStringLiteral("Grup")}},
            {QStringLiteral("tip"), {QStringLiteral("Tip")}},
            {QStringLiteral("ozel"), {QStringLiteral("Özel Kod")}},
            {QStringLiteral("asd"), {QStringLiteral("Hesap Türü"), QStringLiteral("Tür")}},
            {QStringLiteral("muhasebe"), {QStringLiteral("Muhasebe Kodu")}}};
        for (const QString &field : data::cardFields()) {
            const int size = data::cardFieldSize(field);
            add(field, size > 0 ? Type::Text : Type::CardKind, size, aliases.value(field));
        }
        return columns;
    }
    const bool prices = kind == Kind::Prices;
    add(QStringLiteral("kod"), Type::Text,
        prices ? data::PriceCodeLength : data::cardFieldSize(QStringLiteral("kod")),
        {QStringLiteral("Kod"), QStringLiteral("Cari Kod"), QStringLiteral("Üye Kodu")});
    for (size_t head = 0; head < 5; ++head) {
        const QString n = QString::number(head + 1);
        QStringList aliases{(prices ? QStringLiteral("Fiyat") : QStringLiteral("Bakiye ")) + n,
                            QStringLiteral("ack") + n};
        if (!captions[head].trimmed().isEmpty())
            aliases << captions[head];
        add((prices ? QStringLiteral("fiat") : QStringLiteral("bakiye")) + n,
            prices ? Type::Price : Type::Balance, 0, aliases);
    }
    if (!prices)
        add(QStringLiteral("diger"), Type::Balance, 0, {QStringLiteral("Diğer")});
    return columns;
}

std::array<QString, 5> headCaptions(Company &s) {
    std::array<QString, 5> captions;
    if (const auto settings = data::readSettings(s.ayar))
        captions = settings->ack;
    return captions;
}

// Digits only, at least one.
bool allDigits(QStringView t) {
    return !t.isEmpty() &&
           std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The amount the text is with `point` as the decimal mark and the other
// mark grouping thousands: "1.250,50" with ',' is 1250.50, "1.250" with ','
// is 1250 and with '.' 1.25. At most four decimals, so nothing is cut.
std::optional<Money> amountWith(const QString &text, QChar point) {
    const QChar group = point == u'.' ? u',' : u'.';
    QStringView t(text);
    const bool negative = t.startsWith(u'-');
    if (negative || t.startsWith(u'+'))
        t = t.mid(1);
    const qsizetype at = t.indexOf(point);
    if (at != t.lastIndexOf(point))
        return std::nullopt;
    const QStringView whole = at < 0 ? t : t.left(at);
    QString digits;
    if (whole.contains(group)) {
        // Groups of three after a first of one to three, as "1.250.000".
        const auto groups = whole.split(group);
        for (qsizetype g = 0; g < groups.size(); ++g) {
            const QStringView part = groups[g];
            if (!allDigits(part) ||
                (g == 0 ? part.size() > 3 || part.startsWith(u'0') : part.size() != 3))
                return std::nullopt;
            digits += part;
        }
    } else if (allDigits(whole)) {
        digits = whole.toString();
    } else {
        return std::nullopt;
    }
    if (at >= 0) {
        const QStringView fraction = t.mid(at + 1);
        if (!allDigits(fraction) || fraction.size() > 4)
            return std::nullopt;
        digits += u'.' + fraction.toString();
    }
    return Money::parse(negative ? u'-' + digits : digits);
}

// What an amount cell reads as: its value, or why it has none.
struct Amount {
    std::optional<Money> value;
    // Text that reads as two amounts, with '.' and with ',' as the point.
    std::optional<std::pair<Money, Money>> twoWays;
};

// The mark a text shows to be its decimal point: the one under which alone
// it reads as an amount ("1.250,50", "1.250.000" and "12,5" show ',';
// "1.250" and "1250" show none).
QChar pointShown(const QString &text) {
    const bool dot = amountWith(text, u'.').has_value(), comma = amountWith(text, u',').has_value();
    return dot == comma ? QChar() : dot ? QChar(u'.') : QChar(u',');
}

// An amount as a file writes it, with `point` as its column's decimal mark
// (see decimalPoints); with none, text that reads two ways is refused. A
// spreadsheet's number is its stored value, rounded to four decimals when
// it carries a binary fraction's noise.
Amount fileAmount(const tablefile::Cell &cell, QChar point) {
    const QString t = cell.text.trimmed();
    if (t.isEmpty())
        return {Money(), {}};
    if (cell.number) {
        static const QRegularExpression plain(QStringLiteral("^[+-]?\\d+(\\.\\d{1,4})?$"));
        if (plain.match(t).hasMatch())
            return {Money::parse(t), {}};
        bool ok = false;
        const double value = t.toDouble(&ok);
        return {ok ? Money::fromDouble(value) : std::nullopt, {}};
    }
    if (!point.isNull())
        return {amountWith(t, point), {}};
    const auto dot = amountWith(t, u'.'), comma = amountWith(t, u',');
    if (dot && comma && *dot != *comma)
        return {std::nullopt, std::pair(*dot, *comma)};
    return {dot ? dot : comma, {}};
}

// Plain text of an amount for a file: "850", "120.5", "-20".
QString amountText(Money m) {
    return withoutTrailingZeros(m.toPlain(4));
}

// How a file's column is read: a known column, or one that is not.
constexpr int Unread = -1;  // --ignore-column names it, or an unknown one that may be ignored
constexpr int Unnamed = -2; // no heading: text under it is a fault

struct Heading {
    size_t row = 0;        // of the table's rows
    std::vector<int> map;  // each file column's known column, or Unread or Unnamed
    QStringList ignored{}; // the headings not read, for the clerk
};

// A title above the headings is a line or two; further down, a cell that
// happens to hold a heading's word is data.
constexpr size_t HeadingSearch = 10;

// The known column a heading names, or -1.
int columnNamed(const QString &heading, const std::vector<Column> &columns) {
    const QString key = folded(heading);
    for (size_t c = 0; c < columns.size(); ++c) {
        if (folded(columns[c].name) == key)
            return int(c);
        for (const QString &alias : columns[c].aliases)
            if (folded(alias) == key)
                return int(c);
    }
    return -1;
}

// The heading row: the first of the first rows that names a known column,
// so that a title above the headings is left out. When none does, the first
// row, whose faults then say why.
size_t headingRow(const tablefile::Table &table, const std::vector<Column> &columns) {
    for (size_t i = 0; i < std::min(table.rows.size(), HeadingSearch); ++i)
        for (const tablefile::Cell &cell : table.rows[i].cells)
            if (!cell.text.trimmed().isEmpty() && columnNamed(cell.text.trimmed(), columns) >= 0)
                return i;
    return 0;
}

struct Line {
    int line = 0;
    QString kod;
    QHash<QString, QVariant> values;             // a card's fields
    std::array<std::optional<Money>, 6> amounts; // the amount columns the file has
};

QString at(int line) {
    return QStringLiteral("Satır %1: ").arg(line);
}

// The heading row's columns. A column the clerk names with --ignore-column
// is not read; an unknown one neither with --ignore-unknown-columns, else
// it is a fault, as a heading given twice or no `kod` column is. Faults go
// to `faults`; nothing when the rows cannot be read through it.
std::optional<Heading> readHeading(const tablefile::Table &table,
                                   const std::vector<Column> &columns, const ImportRequest &r,
                                   QStringList *faults) {
    const qsizetype before = faults->size();
    Heading heading;
    heading.row = headingRow(table, columns);
    const tablefile::Row &row = table.rows[heading.row];
    QSet<QString> ignore;
    for (const QString &name : r.ignoreColumns)
        ignore.insert(folded(name));
    size_t last = row.cells.size();
    while (last > 0 && row.cells[last - 1].text.trimmed().isEmpty())
        --last;
    if (!row.fault.isEmpty())
        *faults << at(row.line) + row.fault;
    for (size_t i = 0; i < last; ++i) {
        const QString text = row.cells[i].text.trimmed();
        const int found = columnNamed(text, columns);
        if (text.isEmpty()) {
            heading.map.push_back(Unnamed);
            continue;
        }
        if (ignore.contains(folded(text)) || (found < 0 && r.ignoreUnknownColumns)) {
            heading.ignored << text;
            heading.map.push_back(Unread);
            continue;
        }
        if (found < 0)
            *faults << at(row.line) + QStringLiteral("bilinmeyen sütun '%1'").arg(text);
        else if (std::find(heading.map.begin(), heading.map.end(), found) != heading.map.end())
            *faults << at(row.line) + QStringLiteral("'%1' sütunu iki kez var")
                                          .arg(columns[size_t(found)].name);
        heading.map.push_back(found < 0 ? Unread : found);
    }
    if (std::find(heading.map.begin(), heading.map.end(), 0) == heading.map.end())
        *faults << at(row.line) + QStringLiteral("'kod' sütunu yok");
    if (faults->size() > before)
        return std::nullopt;
    return heading;
}

// The decimal point of each amount column, by the file's column: the mark
// the clerk gave, else the one the column's own texts show when they show
// only one ("1.250,50" shows that the dot groups thousands). Null when they
// show none or both: each text is then read alone, and one that reads two
// ways is refused.
std::vector<QChar> decimalPoints(const tablefile::Table &table, const Heading &heading,
                                 const std::vector<Column> &columns, QChar given) {
    std::vector<QChar> points(heading.map.size());
    for (size_t i = 0; i < heading.map.size(); ++i) {
        if (heading.map[i] < 0 || columns[size_t(heading.map[i])].type == Type::Text ||
            columns[size_t(heading.map[i])].type == Type::CardKind)
            continue;
        if (!given.isNull()) {
            points[i] = given;
            continue;
        }
        bool dot = false, comma = false;
        for (size_t r = heading.row + 1; r < table.rows.size(); ++r) {
            const auto &cells = table.rows[r].cells;
            if (i >= cells.size() || cells[i].number)
                continue;
            const QChar shown = pointShown(cells[i].text.trimmed());
            dot = dot || shown == u'.';
            comma = comma || shown == u',';
        }
        if (dot != comma)
            points[i] = dot ? u'.' : u',';
    }
    return points;
}

// One row through the heading's columns; its faults go to `faults`.
Line readLine(const tablefile::Row &row, const Heading &heading, const std::vector<Column> &columns,
              const std::vector<QChar> &points, QStringList *faults) {
    const std::vector<int> &map = heading.map;
    Line out;
    out.line = row.line;
    bool kodFault = false;
    const auto fault = [&](const QString &text) { *faults << at(row.line) + text; };
    if (!row.fault.isEmpty())
        fault(row.fault);
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const tablefile::Cell &cell = row.cells[i];
        if ((i >= map.size() || map[i] == Unnamed) &&
            (!cell.text.trimmed().isEmpty() || !cell.fault.isEmpty())) {
            fault(QStringLiteral("%1. sütunun başlığı yok").arg(i + 1));
            break;
        }
    }
    for (size_t i = 0; i < map.size(); ++i) {
        if (map[i] < 0)
            continue;
        const Column &column = columns[size_t(map[i])];
        const tablefile::Cell cell = i < row.cells.size() ? row.cells[i] : tablefile::Cell{};
        if (!cell.fault.isEmpty()) {
            kodFault = kodFault || column.name == u"kod";
            fault(u'\'' + column.name + QStringLiteral("' ") + cell.fault);
            continue;
        }
        const QString text = cell.text.trimmed();
        switch (column.type) {
        case Type::Text: {
            // A code kept as a number reads as the sheet shows it: "0001".
            const QString shown =
                cell.number && !cell.shown.isEmpty() ? cell.shown.trimmed() : text;
            const bool nul = shown.contains(QChar(u'\0'));
            kodFault = kodFault || (column.name == u"kod" && (nul || !data::isValidUtf16(shown) ||
                                                              shown.size() > column.size));
            if (nul)
                fault(QStringLiteral("'%1' NUL karakteri içeriyor").arg(column.name));
            else if (!data::isValidUtf16(shown))
                fault(QStringLiteral("'%1' geçersiz karakter içeriyor").arg(column.name));
            else if (shown.size() > column.size)
                fault(QStringLiteral("'%1' %2 karakter; en çok %3 olabilir")
                          .arg(column.name)
                          .arg(shown.size())
                          .arg(column.size));
            else if (column.name == u"kod")
                out.kod = shown;
            else
                out.values.insert(column.name, shown);
            break;
        }
        case Type::CardKind: {
            const auto kind = text.isEmpty() ? std::optional<int>(0)
                              : text == u"0" || text == u"1" || text == u"2"
                                  ? std::optional<int>(text.toInt())
                                  : std::nullopt;
            if (kind)
                out.values.insert(column.name, *kind);
            else
                fault(QStringLiteral("'%1' 0, 1 ya da 2 olmalı: '%2'").arg(column.name, text));
            break;
        }
        case Type::Price:
        case Type::Balance: {
            const auto [amount, twoWays] = fileAmount(cell, points[i]);
            const size_t slot = size_t(map[i]) - 1;
            if (twoWays)
                fault(QStringLiteral("'%1' '%2' iki türlü okunabilir: ondalık ayracı nokta ise %3, "
                                     "virgül ise %4; hangisi olduğunu --decimal . ya da "
                                     "--decimal , söyler")
                          .arg(column.name, text, amountText(twoWays->first),
                               amountText(twoWays->second)));
            else if (!amount)
                fault(QStringLiteral("'%1' bir tutar değil: '%2'").arg(column.name, text));
            else if (column.type == Type::Price && *amount < Money())
                fault(QStringLiteral("'%1' eksi olamaz: '%2'").arg(column.name, text));
            else if (*amount > Money::maxEntry() || *amount < -Money::maxEntry())
                fault(QStringLiteral("'%1' en çok %2 olabilir: '%3'")
                          .arg(column.name, Money::maxEntryText(), text));
            else
                out.amounts[slot] = *amount;
            break;
        }
        }
    }
    if (out.kod.isEmpty() && !kodFault)
        fault(QStringLiteral("kod boş"));
    return out;
}

// What an import will do with each line, checked against what is on file.
struct Plan {
    std::vector<Line> add, update;
    ImportReport report;
};

QString balanceText(const Line &l, const std::array<QString, 5> &captions) {
    QStringList parts;
    for (size_t slot = 0; slot < AmountSlots; ++slot) {
        const Money m = l.amounts[slot].value_or(Money());
        if (m.isZero())
            continue;
        const QString head = slot == OtherSlot                    ? QStringLiteral("diğer")
                             : captions[slot].trimmed().isEmpty() ? QString::number(slot + 1)
                                                                  : captions[slot].trimmed();
        parts << head + (m < Money() ? QStringLiteral(" alacak ") : QStringLiteral(" borç ")) +
                     amountText(m < Money() ? -m : m);
    }
    return parts.join(QStringLiteral(", "));
}

// The prices a line gives, as read: ": Aidat 850, Su 12.5".
QString pricesText(const Line &l, const std::array<QString, 5> &captions) {
    QStringList parts;
    for (size_t head = 0; head < 5; ++head)
        if (l.amounts[head])
            parts << (captions[head].trimmed().isEmpty()
                          ? QStringLiteral("fiat") + QString::number(head + 1)
                          : captions[head].trimmed()) +
                         u' ' + amountText(*l.amounts[head]);
    return parts.isEmpty() ? QString() : QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

bool hasBalance(const Line &l) {
    for (const auto &m : l.amounts)
        if (m && !m->isZero())
            return true;
    return false;
}

// Every line against the file's other lines and what is on file.
std::optional<Plan> makePlan(Company &s, const ImportRequest &r, const tablefile::Table &table,
                             const std::array<QString, 5> &captions) {
    Plan plan;
    ImportReport &report = plan.report;
    report.source = table.source;
    if (table.rows.empty()) {
        report.faults << QStringLiteral("Dosya boş: başlık satırı yok");
        return plan;
    }
    const std::vector<Column> columns = columnsOf(r.kind, captions);
    const auto heading = readHeading(table, columns, r, &report.faults);
    if (!heading)
        return plan;
    if (heading->row > 0)
        report.source +=
            QStringLiteral("; başlıklar %1. satırda").arg(table.rows[heading->row].line);
    if (!heading->ignored.isEmpty())
        report.source +=
            QStringLiteral("; okunmayan sütunlar: ") + heading->ignored.join(QStringLiteral(", "));
    const std::vector<QChar> points = decimalPoints(table, *heading, columns, r.decimal);

    QSet<QString> cards, onFile;
    QHash<QString, data::HeadPrices> prices;
    if (!data::readCodes(s.data, data::CodesOf::Cards, &cards, s.messages))
        return std::nullopt;
    if (r.kind == Kind::Members)
        onFile = cards;
    else if (r.kind == Kind::Prices) {
        if (!data::readPrices(s.koop, &prices, s.messages))
            return std::nullopt;
        for (auto it = prices.cbegin(); it != prices.cend(); ++it)
            onFile.insert(it.key());
    } else if (!data::readCodes(s.data, data::CodesOf::LedgerAccounts, &onFile, s.messages)) {
        return std::nullopt;
    }

    QHash<QString, int> seen; // code -> the line it was first given on
    for (size_t i = heading->row + 1; i < table.rows.size(); ++i) {
        const qsizetype before = report.faults.size();
        Line line = readLine(table.rows[i], *heading, columns, points, &report.faults);
        const auto fault = [&](const QString &text) { report.faults << at(line.line) + text; };
        if (!line.kod.isEmpty()) {
            if (const auto first = seen.constFind(line.kod); first != seen.cend())
                fault(QStringLiteral("'%1' kodu dosyada iki kez var (ilki satır %2)")
                          .arg(line.kod)
                          .arg(*first));
            else
                seen.insert(line.kod, line.line);
        }
        if (report.faults.size() > before)
            continue;
        if (r.kind != Kind::Members && !cards.contains(line.kod)) {
            fault(QStringLiteral("'%1' kodlu cari kart yok").arg(line.kod));
            continue;
        }
        const QString who = at(line.line) + line.kod;
        // What the line's prices were read as, before an update fills in
        // the columns the file does not have.
        const QString asRead = r.kind == Kind::Prices ? pricesText(line, captions) : QString();
        if (r.kind == Kind::Balances && !hasBalance(line)) {
            report.plan << who + QStringLiteral(" bakiyesi sıfır, atlanacak");
            ++report.skipped;
            continue;
        }
        if (onFile.contains(line.kod)) {
            switch (r.onDuplicate) {
            case OnDuplicate::Stop:
                fault(r.kind == Kind::Balances
                          ? QStringLiteral("'%1' hesabında hareket var").arg(line.kod)
                          : QStringLiteral("'%1' kodu kayıtlı").arg(line.kod));
                break;
            case OnDuplicate::Skip:
                report.plan << who + QStringLiteral(" kayıtlı, atlanacak");
                ++report.skipped;
                break;
            case OnDuplicate::Update:
                if (r.kind == Kind::Prices) {
                    // Columns the file does not have keep their prices.
                    const data::HeadPrices &old = prices.value(line.kod);
                    for (size_t head = 0; head < 5; ++head)
                        if (!line.amounts[head])
                            line.amounts[head] = old[head];
                }
                report.plan << who + QStringLiteral(" güncellenecek") + asRead;
                ++report.updated;
                plan.update.push_back(std::move(line));
                break;
            }
            continue;
        }
        report.plan << who + (r.kind == Kind::Balances
                                  ? QStringLiteral(" devir: ") + balanceText(line, captions)
                                  : QStringLiteral(" eklenecek") + asRead);
        ++report.added;
        plan.add.push_back(std::move(line));
    }
    return plan;
}

bool store(Company &s, const ImportRequest &r, Plan &plan, UnitOfWork &work) {
    const auto refuse = [&s](const QString &who, const QString &what) {
        s.messages.warning(who + u' ' + what +
                           QStringLiteral("\nAktarım yapılmadı; hiçbir kayıt yazılmadı."));
        return false;
    };
    // New cards on a server go many at a time; the first one it refuses is
    // named once they are sent.
    QString refusedCard;
    const int count = int(plan.add.size() + plan.update.size());
    int done = 0;
    for (const bool adding : {true, false}) {
        for (const Line &l : adding ? plan.add : plan.update) {
            if (r.progress)
                r.progress(done++, count);
            const QString who = at(l.line) + l.kod;
            switch (r.kind) {
            case Kind::Members: {
                QHash<QString, QVariant> values = l.values;
                values.insert(QStringLiteral("kod"), l.kod);
                const data::BatchedRows later(s.carkart, [&refusedCard, who] {
                    if (refusedCard.isEmpty())
                        refusedCard = who;
                });
                if (!(adding ? data::addCard(s.carkart, values)
                             : data::changeCard(s.carkart, l.kod, values)))
                    return refuse(who, QStringLiteral("kartı yazılamadı."));
                break;
            }
            case Kind::Prices: {
                data::HeadPrices prices{};
                for (size_t head = 0; head < 5; ++head)
                    prices[head] = l.amounts[head].value_or(Money());
                if (!data::storePrices(s.fiat, l.kod, prices))
                    return refuse(who, QStringLiteral("fiyatları yazılamadı."));
                break;
            }
            case Kind::Balances:
                for (size_t slot = 0; slot < AmountSlots; ++slot) {
                    const Money m = l.amounts[slot].value_or(Money());
                    if (m.isZero())
                        continue;
                    // Read as any debt or payment, but marked so that neither
                    // the suite nor the cash box ever takes it for new money.
                    const bool credit = m < Money();
                    const QString head = slot == OtherSlot ? QString() : QString::number(slot + 1);
                    if (!posting::PostDebt(work, work.reference(1), credit, l.kod, credit ? -m : m,
                                           OpeningText, ledger::Opening, head, r.date))
                        return refuse(who, QStringLiteral("açılış bakiyesi yazılamadı."));
                    ++plan.report.ledgerRows;
                }
                break;
            }
        }
    }
    // Rows still held back go now: one the server refuses spoils the whole.
    data::Database &db = r.kind == Kind::Prices ? s.koop : s.data;
    if (!db.send() || db.refusedRows() > 0)
        return refuse(refusedCard.isEmpty() ? QStringLiteral("Sunucu") : refusedCard,
                      QStringLiteral("kaydı almadı."));
    if (r.progress)
        r.progress(count, count);
    return work.commit();
}

} // namespace

std::optional<Kind> kindNamed(const QString &name) {
    if (name == u"members")
        return Kind::Members;
    if (name == u"prices")
        return Kind::Prices;
    if (name == u"balances")
        return Kind::Balances;
    return std::nullopt;
}

namespace {

// A kind's export columns in order: the field names, the headings a
// spreadsheet shows (a head's caption from the settings where it names that
// head alone, else the first Turkish name the import knows the column by, so
// that the file imports again unchanged) and the columns holding amounts.
void describeColumns(Kind kind, const std::array<QString, 5> &captions, tablefile::Output *out) {
    for (const Column &c : columnsOf(kind, captions)) {
        const bool amount = c.type == Type::Price || c.type == Type::Balance;
        const QString head = amount ? c.aliases.value(2).trimmed() : QString();
        const bool alone = !head.isEmpty() &&
                           std::count_if(captions.begin(), captions.end(), [&](const QString &x) {
                               return x.trimmed().compare(head, Qt::CaseInsensitive) == 0;
                           }) == 1;
        out->header << c.name;
        out->captions << (alone ? head : c.aliases.value(0, c.name));
        out->amounts.push_back(amount);
    }
}

} // namespace

std::optional<ImportReport> importFile(Company &s, const ImportRequest &r) {
    QString error;
    const auto table = tablefile::read(r.path, r.sheet, &error);
    if (!table) {
        s.messages.warning(error);
        return std::nullopt;
    }
    // A real import checks under the action's lock, so that no other desk
    // adds a code between the check and the writing.
    std::optional<UnitOfWork> work;
    if (!r.dryRun) {
        work.emplace(s, r.kind == Kind::Prices ? UnitOfWork::Koop : UnitOfWork::Data);
        if (!work->active())
            return std::nullopt;
    }
    auto plan = makePlan(s, r, *table, headCaptions(s));
    if (!plan)
        return std::nullopt;
    if (!plan->report.faults.isEmpty() || r.dryRun)
        return plan->report;
    if (!store(s, r, *plan, *work))
        return std::nullopt;
    plan->report.written = true;
    return plan->report;
}

QString summary(const ImportReport &report, bool dryRun) {
    if (!report.faults.isEmpty())
        return QStringLiteral("%1 hatalı satır; hiçbir kayıt yazılmadı.").arg(report.faults.size());
    const QString text =
        dryRun ? QStringLiteral("Deneme: %1 eklenecek, %2 güncellenecek, %3 atlanacak; hiçbir "
                                "kayıt yazılmadı.")
               : QStringLiteral("%1 eklendi, %2 güncellendi, %3 atlandı.");
    QString out = text.arg(report.added).arg(report.updated).arg(report.skipped);
    if (report.ledgerRows > 0)
        out += QStringLiteral(" %1 devir satırı yazıldı.").arg(report.ledgerRows);
    return out;
}

bool exportFile(Company &s, Kind kind, Format format, const QString &path, int *rows) {
    tablefile::Output out;
    describeColumns(kind, headCaptions(s), &out);
    const auto amount = [](Money m) { return tablefile::Cell{amountText(m), true}; };
    switch (kind) {
    case Kind::Members: {
        out.sheet = QStringLiteral("Üyeler");
        std::vector<std::vector<QVariant>> cards;
        if (!data::readCardTable(s.data, &cards, s.messages))
            return false;
        for (const auto &card : cards) {
            std::vector<tablefile::Cell> row;
            for (const QVariant &v : card)
                row.push_back({v.toString(), v.typeId() != QMetaType::QString});
            out.rows.push_back(std::move(row));
        }
        break;
    }
    case Kind::Prices: {
        out.sheet = QStringLiteral("Fiyatlar");
        QHash<QString, data::HeadPrices> prices;
        if (!data::readPrices(s.koop, &prices, s.messages))
            return false;
        QStringList codes = prices.keys();
        codes.sort();
        for (const QString &kod : codes) {
            std::vector<tablefile::Cell> row{{kod, false}};
            for (const Money m : prices.value(kod))
                row.push_back(amount(m));
            out.rows.push_back(std::move(row));
        }
        break;
    }
    case Kind::Balances: {
        out.sheet = QStringLiteral("Bakiyeler");
        std::vector<data::AccountSubTotal> totals;
        if (!data::readAllSubAccountTotals(s.data, &totals, s.messages))
            return false;
        for (size_t i = 0; i < totals.size();) {
            const QString kod = totals[i].kod;
            std::array<Money, AmountSlots> net{};
            for (; i < totals.size() && totals[i].kod == kod; ++i) {
                const int head = ledger::duesHead(totals[i].total.kod1);
                net[head > 0 ? size_t(head - 1) : OtherSlot] +=
                    totals[i].total.debit - totals[i].total.credit;
            }
            std::vector<tablefile::Cell> row{{kod, false}};
            bool any = false;
            for (const Money m : net) {
                row.push_back(m.isZero() ? tablefile::Cell{} : amount(m));
                any = any || !m.isZero();
            }
            if (any)
                out.rows.push_back(std::move(row));
        }
        break;
    }
    }
    QString error;
    const bool ok =
        format == Format::Csv
            ? tablefile::writeCsv(path, out, &error)
            : tablefile::writeXlsx(path, out, QDateTime(s.today(), QTime(0, 0), QTimeZone::utc()),
                                   &error);
    if (!ok) {
        s.messages.warning(error);
        return false;
    }
    *rows = int(out.rows.size());
    return true;
}

} // namespace transfer
