#include "actions/reports/arrears.h"

#include "actions/generallist/generallistprint.h"
#include "actions/statement/statementaction.h"
#include "base/csv.h"
#include "base/daynumber.h"
#include "base/wholefile.h"
#include "data/membersearch.h"
#include "printing/printersettings.h"
#include "printing/prnx.h"
#include "printing/report.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace arrears {
namespace {

using printing::Cell;
using printing::Line;

using generallist::AgingAmountWidth;
using generallist::AgingCodeWidth;
using generallist::AgingNameWidth;
constexpr qint16 HeadWidth = 129;
// Letters wrap at the words within this many columns, in a font larger
// than the lists' so that they read as letters.
constexpr int LetterWidth = 80;
constexpr double LetterPointSize = 10;

Money principal(const generallist::Figures &f) {
    Money sum;
    for (const Money &m : f.yas)
        sum += m;
    return sum;
}

QString criteriaText(const Criteria &c, int tlonda) {
    QStringList parts;
    if (c.months)
        parts << QStringLiteral("%1 aydan eski borcu olanlar").arg(*c.months);
    if (c.minimum)
        parts << QStringLiteral("borcu %1 üstünde olanlar").arg(formatAmount(*c.minimum, tlonda));
    return parts.join(QStringLiteral(" ya da "));
}

// An amount in a letter: grouped, and 0 written out rather than left blank.
QString letterAmount(Money m, int tlonda) {
    return m == Money() ? plainAmount(m, tlonda) : formatAmount(m, tlonda);
}

QJsonObject amounts(const generallist::Figures &f, Money older, int tlonda) {
    QJsonObject out{
        {"borc", plainAmount(f.borc, tlonda)},          {"odenen", plainAmount(f.odenen, tlonda)},
        {"gecikme", plainAmount(f.gecikme, tlonda)},    {"kalan", plainAmount(f.kalan, tlonda)},
        {"anapara", plainAmount(principal(f), tlonda)}, {"eski", plainAmount(older, tlonda)}};
    for (size_t i = 0; i < f.yas.size(); ++i)
        out.insert(QStringLiteral("yas%1").arg(i + 1), plainAmount(f.yas[i], tlonda));
    return out;
}

// A paragraph broken at the words into lines of at most `width` columns;
// its leading blanks (an indent) start every line, and a word too long for
// a line is cut.
QStringList wrapped(const QString &paragraph, int width) {
    // A line that fits stays as written, its blanks lining up a table.
    if (paragraph.size() <= width)
        return {paragraph};
    qsizetype lead = 0;
    while (lead < paragraph.size() && paragraph[lead] == u' ')
        ++lead;
    const QString indent(lead, u' ');
    const int room = std::max(10, width - int(lead));
    QStringList lines;
    QString line;
    for (const QString &word : paragraph.mid(lead).split(u' ', Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > room) {
            lines << indent + line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word.left(room);
    }
    lines << (line.isEmpty() ? QString() : indent + line);
    return lines;
}

} // namespace

bool owes(const Criteria &c, const generallist::Figures &f, Money older) {
    return (c.months && older > Money()) || (c.minimum && f.kalan > *c.minimum);
}

std::optional<List> build(Company &s, const Criteria &c, const ProgressFn &progress) {
    if (!c.date.isValid()) {
        s.messages.warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        return std::nullopt;
    }
    const auto range = data::cardCodeRange(s.data, s.messages);
    if (!range)
        return std::nullopt;
    data::CardSelection selection;
    selection.codes = *range;
    selection.kinds = {0};
    std::vector<data::MemberCard> members;
    if (!data::readCards(s.data, selection, &members, s.messages))
        return std::nullopt;
    const double faiz = statement::deskSettings(s).faiz;
    const int count = int(members.size());
    List list;
    if (progress && count > 0)
        progress({0, count, members.front().kod});
    if (!statement::computeEach(s, statement::cardsOf(members), c.date, faiz,
                                [&](size_t i, const surcharge::Statement &st) {
                                    if (progress)
                                        progress({int(i) + 1, count, members[i].kod});
                                    const generallist::Figures f =
                                        generallist::figuresOf(st, c.date);
                                    const Money older =
                                        c.months ? surcharge::openOlderThan(st, c.date, *c.months)
                                                 : Money();
                                    if (!owes(c, f, older))
                                        return;
                                    generallist::add(list.toplam, f);
                                    list.olderTotal += older;
                                    list.rows.push_back({members[i], f, older});
                                }))
        return std::nullopt;
    return list;
}

QString asText(const List &list, const Criteria &c, const QString &unvan, int tlonda) {
    const auto line = [](const QString &kod, const QString &isim, const QStringList &figures) {
        QString out = kod.left(AgingCodeWidth).leftJustified(AgingCodeWidth) + u' ' +
                      isim.left(AgingNameWidth).leftJustified(AgingNameWidth);
        for (const QString &f : figures)
            out += u' ' + f.rightJustified(AgingAmountWidth);
        return out + u'\n';
    };
    const QStringList h = generallist::agingHeads();
    QString out = QString::fromUtf16(PrintTitle) + u'\n' + QStringLiteral("Baz Tarih :") +
                  formatTrDate(c.date) + QStringLiteral("  ") + unvan + u'\n' +
                  criteriaText(c, tlonda) + QStringLiteral("\n\n") + line(h[0], h[1], h.mid(2));
    for (const Row &r : list.rows)
        out += line(r.card.kod, r.card.isim1, generallist::agingCells(r.figures, tlonda));
    out += line(QString(), QString::fromUtf16(generallist::TotalCaption),
                generallist::agingCells(list.toplam, tlonda));
    return out;
}

QString asCsv(const List &list, int tlonda) {
    QString out = QStringLiteral(
        "kod,isim,borc,odenen,gecikme,kalan,anapara,eski,yas1,yas2,yas3,yas4,yas5\n");
    const auto line = [&](const QString &kod, const QString &isim, const generallist::Figures &f,
                          Money older) {
        QStringList cells =
            QStringList{csvField(kod), csvField(isim)} + generallist::plainAmounts(f, tlonda) +
            QStringList{plainAmount(principal(f), tlonda), plainAmount(older, tlonda)} +
            generallist::ageAmounts(f, tlonda, false);
        out += cells.join(u',') + u'\n';
    };
    for (const Row &r : list.rows)
        line(r.card.kod, r.card.isim1, r.figures, r.older);
    line(QString(), QString::fromUtf16(generallist::TotalCaption), list.toplam, list.olderTotal);
    return out;
}

QString asJson(const List &list, const Criteria &c, int tlonda) {
    QJsonArray rows;
    for (const Row &r : list.rows) {
        QJsonObject row = amounts(r.figures, r.older, tlonda);
        row.insert(QStringLiteral("kod"), r.card.kod);
        row.insert(QStringLiteral("isim"), r.card.isim1);
        rows.append(row);
    }
    QJsonObject doc{{"tarih", formatTrDate(c.date)},
                    {"rows", rows},
                    {"toplam", amounts(list.toplam, list.olderTotal, tlonda)}};
    if (c.months)
        doc.insert(QStringLiteral("aylar"), *c.months);
    if (c.minimum)
        doc.insert(QStringLiteral("enaz"), plainAmount(*c.minimum, tlonda));
    return QString::fromUtf8(QJsonDocument(doc).toJson(QJsonDocument::Indented));
}

void presetPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(PrintTitle), 66, false);
}

bool printList(prnx &printer, const List &list, const Criteria &c, const QString &unvan,
               int tlonda) {
    printing::PageLayout page;
    page.head = {
        {Cell::title(printer.settings().title, HeadWidth)},
        {Cell::date(QStringLiteral("Baz Tarih :") + formatTrDate(c.date), 35),
         Cell::company(unvan, HeadWidth - 35, prnx::Saga)},
        {Cell::plain(criteriaText(c, tlonda), HeadWidth)},
        {},
        generallist::agingColumns().line(generallist::agingHeads(), true),
        generallist::agingColumns().rules(),
    };
    printing::Report report(printer, std::move(page));
    if (!report.open(printer.settings().title))
        return false;
    for (const Row &r : list.rows)
        report.row(generallist::agingColumns().line(
            QStringList{r.card.kod.left(AgingCodeWidth), r.card.isim1.left(AgingNameWidth)} +
            generallist::agingCells(r.figures, tlonda)));
    Line total{Cell::plain(QStringLiteral("T O P L A M : "), AgingCodeWidth + 1 + AgingNameWidth,
                           prnx::Saga, true)};
    for (const QString &amount : generallist::agingCells(list.toplam, tlonda)) {
        total.push_back(Cell::plain(QStringLiteral(" "), 1));
        total.push_back(Cell::plain(amount, AgingAmountWidth, prnx::Saga));
    }
    return report.finish({generallist::agingColumns().rules(), total});
}

QString defaultTemplate() {
    return QStringLiteral(
        "{unvan}\n"
        "\n"
        "Sayın {isim}\n"
        "{adres}\n"
        "\n"
        "Üye No : {kod}\n"
        "Tarih  : {tarih}\n"
        "\n"
        "Konu: Ödenmemiş aidat borcu hakkında\n"
        "\n"
        "{tarih} tarihi itibarıyla kooperatifimize {borc} {tlnick} borcunuz bulunmaktadır. "
        "Bunun {anapara} {tlnick} tutarı vadesi geçmiş aidat ve borçlarınız, {gecikme} {tlnick} "
        "tutarı gecikme zammıdır.\n"
        "\n"
        "Ödenmemiş borcunuzun vadesine göre dağılımı:\n"
        "    0-30 gün         : {yas1}\n"
        "    31-90 gün        : {yas2}\n"
        "    91-180 gün       : {yas3}\n"
        "    181-365 gün      : {yas4}\n"
        "    365 günden çok   : {yas5}\n"
        "\n"
        "Borcunuzu en kısa zamanda kooperatifimizin veznesine ödemenizi, ödediyseniz bu "
        "mektubu dikkate almamanızı rica ederiz.\n"
        "\n"
        "Saygılarımızla,\n"
        "\n"
        "Yönetim Kurulu\n");
}

std::optional<QString> letterTemplate(Company &s) {
    const QString path = s.companyFile(QString::fromUtf16(TemplateFile));
    QFile file(path);
    if (!file.exists())
        return defaultTemplate();
    if (!file.open(QIODevice::ReadOnly)) {
        s.messages.warning(QStringLiteral("İhtar mektubu şablonu okunamadı: ") + path +
                           QStringLiteral(": ") + file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        s.messages.warning(QStringLiteral("İhtar mektubu şablonu UTF-8 metin değil: ") + path);
        return std::nullopt;
    }
    text.remove(u'\r');
    return text;
}

bool saveTemplate(Company &s, const QString &text) {
    const QString path = s.companyFile(QString::fromUtf16(TemplateFile));
    QString error;
    if (wholefile::write(path, text.toUtf8(), &error))
        return true;
    s.messages.warning(QStringLiteral("İhtar mektubu şablonu yazılamadı: ") + path + u'\n' + error);
    return false;
}

QString letterText(const QString &templateText, const Row &r, const Criteria &c,
                   const QString &unvan, int tlonda, const QString &tlnick) {
    QStringList address;
    for (const QString &line : {r.card.adr1, r.card.adr2, r.card.adr3})
        if (!line.trimmed().isEmpty())
            address << line.trimmed();
    QHash<QString, QString> fields{
        {QStringLiteral("unvan"), unvan},
        {QStringLiteral("kod"), r.card.kod},
        {QStringLiteral("isim"), r.card.isim1},
        {QStringLiteral("adres"), address.join(u'\n')},
        {QStringLiteral("adr1"), r.card.adr1},
        {QStringLiteral("adr2"), r.card.adr2},
        {QStringLiteral("adr3"), r.card.adr3},
        {QStringLiteral("tarih"), formatTrDate(c.date)},
        {QStringLiteral("borc"), letterAmount(r.figures.kalan, tlonda)},
        {QStringLiteral("anapara"), letterAmount(principal(r.figures), tlonda)},
        {QStringLiteral("gecikme"), letterAmount(r.figures.gecikme, tlonda)},
        {QStringLiteral("eski"), letterAmount(r.older, tlonda)},
        {QStringLiteral("aylar"), c.months ? QString::number(*c.months) : QString()},
        {QStringLiteral("tlnick"), tlnick},
    };
    for (size_t i = 0; i < r.figures.yas.size(); ++i)
        fields.insert(QStringLiteral("yas%1").arg(i + 1), letterAmount(r.figures.yas[i], tlonda));
    // One pass, so a field's value is never read as a field itself.
    static const QRegularExpression field(QStringLiteral("\\{([a-z0-9]+)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = field.globalMatch(templateText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += templateText.mid(from, m.capturedStart() - from);
        const auto value = fields.constFind(m.captured(1));
        out += value != fields.constEnd() ? *value : m.captured(0);
        from = m.capturedEnd();
    }
    return out + templateText.mid(from);
}

void presetLettersPrinter(printing::PrinterSettings &s) {
    s.presetReport(QString::fromUtf16(LettersTitle), 66, false);
}

bool printLetters(prnx &printer, const List &list, const QString &templateText, const Criteria &c,
                  const QString &unvan, int tlonda, const QString &tlnick) {
    QFont font = printer.Font();
    font.setPointSizeF(LetterPointSize);
    printer.setFont(font);
    printing::Report report(printer, {});
    if (!report.open(printer.settings().title))
        return false;
    for (const Row &r : list.rows) {
        for (const QString &paragraph :
             letterText(templateText, r, c, unvan, tlonda, tlnick).split(u'\n')) {
            for (const QString &line : wrapped(paragraph, LetterWidth))
                report.row({Cell::plain(line, prnx::Sutun)});
        }
        report.closeSection({});
    }
    return report.finish({});
}

} // namespace arrears
