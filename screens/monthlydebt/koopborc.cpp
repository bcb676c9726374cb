#include "screens/monthlydebt/koopborc.h"

#include "actions/monthlydebt/voucherprint.h"
#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/repeatquestion.h"
#include "screens/kit/screentheme.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column { Kod, Unvan, Fiat1, Adr1 = Fiat1 + 5 };

// A price as the grid holds it: the decimals it was filled with, or the
// number an edit left.
Money gridPrice(const QVariant &cell) {
    const QString text = DclistModel::cellText(cell).trimmed();
    if (text.isEmpty())
        return Money();
    if (const auto exact = Money::parse(text))
        return *exact;
    return Money::fromDouble(DclistModel::val(text)).value_or(Money());
}

// A price in a cell as the clerk goes on typing it: "850", "120.5", so that a
// digit typed after it extends the number, not its last decimal.
QString cellPrice(Money price, int tlonda) {
    const QString text = withoutTrailingZeros(plainAmount(price, tlonda));
    return text == u"0" ? QString() : text;
}

} // namespace

koopborc::koopborc(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext),
      m_group(new QComboBox(this)), m_date(new xtext(this)), m_number(new xtext(this)),
      m_period(new xtext(this)), m_grid(new dclist(context.messages(), this)),
      m_status(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_kaydet(new QPushButton(QStringLiteral(" Kaydet "), this)),
      m_printAll(new QPushButton(QStringLiteral(" Yazdır "), this)),
      m_printFrom(new QPushButton(QStringLiteral(" Bulunduğun Yerden Yazdır "), this)),
      m_printOne(new QPushButton(QStringLiteral(" Tek Satır Yazdır "), this)) {
    setWindowTitle(QStringLiteral("Aylık Borçlandırma"));
    m_group->setObjectName(QStringLiteral("grup"));
    m_date->setObjectName(QStringLiteral("tarih"));
    m_number->setObjectName(QStringLiteral("fisNo"));
    m_period->setObjectName(QStringLiteral("donem"));
    m_grid->setObjectName(QStringLiteral("uyeler"));
    m_status->setObjectName(QStringLiteral("durum"));
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_kaydet->setObjectName(QStringLiteral("kaydet"));
    m_printAll->setObjectName(QStringLiteral("yazdir"));
    m_printFrom->setObjectName(QStringLiteral("yerdenYazdir"));
    m_printOne->setObjectName(QStringLiteral("tekSatir"));

    m_date->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_number->xTextBicim(xtext::Sayi, monthlydebt::VoucherNoMax, Qt::AlignRight, 0, 0, 0);
    m_period->xTextBicim(xtext::Metin, 20, Qt::AlignLeft, 0, 0, 0);
    auto *fields = new QHBoxLayout;
    const std::pair<const char16_t *, QWidget *> labelled[] = {
        {u"Grup Kodu", m_group}, {u"Tarih", m_date}, {u"No", m_number}, {u"Dönem", m_period}};
    for (const auto &[text, field] : labelled) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(field);
        fields->addWidget(label);
        fields->addWidget(field, 1);
    }
    for (xtext *f : {m_date, m_number, m_period})
        connect(f, &xtext::KeyDown, this, [this](int key, bool) { fieldKey(key); });
    screenkit::listKeys(*m_group, *m_date, [this](int key) {
        if (key != Qt::Key_F5 && key != Qt::Key_F8)
            return false;
        fieldKey(key);
        return true;
    });

    const monthlydebt::Opening opening = monthlydebt::open(context.company());
    m_captions = opening.captions;
    m_group->addItems(opening.groups);
    const QString letter = QStringLiteral("m");
    m_grid->Add(letter, QStringLiteral("kod"), QStringLiteral("Kod"), 90, 8);
    m_grid->Add(letter, QStringLiteral("unvan"), QStringLiteral("Ünvan"), 230, 35);
    for (int head = 0; head < 5; ++head)
        m_grid->Add(QStringLiteral("n"), QStringLiteral("fiat%1").arg(head + 1),
                    m_captions[size_t(head)], 120, monthlydebt::PriceMax, 0, context.tlonda(), 3);
    for (int line = 1; line <= 3; ++line)
        m_grid->Add(letter, QStringLiteral("adr%1").arg(line), QString(), 0, 0);
    m_grid->setEditable(true);
    m_grid->setMinimumSize(960, 360);
    connect(m_grid, &dclist::UpdateData, this, &koopborc::storeRow);
    connect(m_grid, &dclist::KeyDown, this, [this](int key, int, int) {
        // Not in the middle of a row: its typed prices are not the grid's yet.
        if (m_grid->CurrentMode() == 2)
            return;
        if (key == Qt::Key_Escape)
            m_group->setFocus();
        else if (key == Qt::Key_F5 || key == Qt::Key_F8)
            fieldKey(key);
    });
    // The list follows the group and the other desks' changes: it is read
    // when the screen opens, when another group is chosen, and whenever the
    // clerk comes into the grid from another field. " Kaydet " and the
    // vouchers take the grid's rows, so they never act on a group the list no
    // longer shows.
    screenkit::whenEntered(*m_grid, [this] {
        // A row in the middle of its edit keeps what the clerk typed.
        if (m_grid->CurrentMode() != 2)
            loadMembers();
    });

    m_progress->setVisible(false);
    for (QPushButton *b : {m_kaydet, m_printAll, m_printFrom, m_printOne})
        b->setAutoDefault(true);
    connect(m_kaydet, &QPushButton::clicked, this, &koopborc::kaydet);
    connect(m_printAll, &QPushButton::clicked, this, [this] { print(monthlydebt::Range::All); });
    connect(m_printFrom, &QPushButton::clicked, this,
            [this] { print(monthlydebt::Range::FromCurrent); });
    connect(m_printOne, &QPushButton::clicked, this,
            [this] { print(monthlydebt::Range::Current); });
    QHBoxLayout *buttons = screenkit::buttonRow({m_kaydet, m_printAll, m_printFrom, m_printOne});
    buttons->insertWidget(0, m_status, 1);
    buttons->insertWidget(1, m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    screenkit::tabOrder({m_group, m_date, m_number, m_period, m_grid, m_kaydet, m_printAll,
                         m_printFrom, m_printOne});
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_printAll, QStringLiteral("printerm.ico")},
                         {m_printFrom, QStringLiteral("printerm.ico")},
                         {m_printOne, QStringLiteral("printerm.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const QDate today = context.today();
    m_date->setTextValue(formatTrDate(today));
    m_number->setValue(opening.fisno);
    m_autoPeriod = monthlydebt::periodOf(today);
    m_period->setTextValue(m_autoPeriod);
    // The period names the date's month until the clerk writes one himself.
    connect(m_date, &xtext::Change, this, [this] {
        const QDate date = parseTrDate(m_date->Text());
        if (!date.isValid() || m_period->Text() != m_autoPeriod)
            return;
        m_autoPeriod = monthlydebt::periodOf(date);
        m_period->setTextValue(m_autoPeriod);
    });
    loadMembers();
    connect(m_group, &QComboBox::currentIndexChanged, this, &koopborc::loadMembers);
    m_group->setFocus();
}

void koopborc::fieldKey(int key) {
    if (key == Qt::Key_Escape)
        close();
    else if (key == Qt::Key_F5)
        kaydet();
    else if (key == Qt::Key_F8)
        print(monthlydebt::Range::All);
}

void koopborc::loadMembers() {
    // Coming back to the same group keeps the clerk's place in it.
    const int keep = m_group->currentText() == m_loadedGroup ? m_grid->CurSat() : 0;
    m_loadedGroup = m_group->currentText();
    m_grid->Clear();
    const auto members = monthlydebt::load(m_context.company(), m_group->currentText());
    if (!members)
        return;
    const int tl = m_context.tlonda();
    for (const monthlydebt::Member &m : *members) {
        const int row = m_grid->CreateNewCaption();
        if (row < 0)
            break;
        m_grid->setCaption(row, Kod, m.kod);
        m_grid->setCaption(row, Unvan, m.unvan);
        for (int head = 0; head < 5; ++head)
            m_grid->setCaption(row, Fiat1 + head, cellPrice(m.prices[size_t(head)], tl));
        m_grid->setCaption(row, Adr1, m.adr1);
        m_grid->setCaption(row, Adr1 + 1, m.adr2);
        m_grid->setCaption(row, Adr1 + 2, m.adr3);
    }
    m_grid->reyaz();
    m_grid->ChngSat(m_grid->ListCount() - 1);
    m_grid->ChngSat(std::clamp(keep, 0, std::max(m_grid->ListCount() - 1, 0)));
}

void koopborc::storeRow(int row) {
    const QString kod = m_grid->Text(Kod);
    if (kod.isEmpty())
        return;
    // Stored as the grid shows it: the money decimals, no more than were seen.
    const int tl = m_context.tlonda();
    monthlydebt::HeadPrices prices{};
    for (int head = 0; head < 5; ++head)
        prices[size_t(head)] =
            Money::parse(plainAmount(gridPrice(m_grid->Text(Fiat1 + head)), tl)).value_or(Money());
    if (monthlydebt::savePrices(m_context.company(), kod, prices)) {
        m_grid->OkUpdateData(row);
        for (int head = 0; head < 5; ++head)
            m_grid->setCaption(row, Fiat1 + head, cellPrice(prices[size_t(head)], tl));
    }
    // A row that was not stored shows again what the table holds.
    m_grid->satiryaz(row);
}

std::vector<monthlydebt::Member> koopborc::gridMembers() const {
    std::vector<monthlydebt::Member> members;
    members.reserve(size_t(m_grid->ListCount()));
    const auto text = [this](int row, int col) { return m_grid->Caption(row, col).toString(); };
    for (int row = 0; row < m_grid->ListCount(); ++row) {
        monthlydebt::Member m{text(row, Kod),  text(row, Unvan),    {},
                              text(row, Adr1), text(row, Adr1 + 1), text(row, Adr1 + 2)};
        for (int head = 0; head < 5; ++head)
            m.prices[size_t(head)] = gridPrice(m_grid->Caption(row, Fiat1 + head));
        members.push_back(std::move(m));
    }
    return members;
}

void koopborc::kaydet() {
    const QDate date = parseTrDate(m_date->Text());
    // A date that is no date is refused before the question, by the posting.
    if (date.isValid() && !m_context.messages().ask(Messages::Icon::Question, Messages::korvane(),
                                                    QStringLiteral("Aylık Borçlandırma Cariye "
                                                                   "Yazılacak.."),
                                                    true))
        return;
    const std::vector<monthlydebt::Member> members = gridMembers();
    // The same debts on the same day again only when the clerk says so.
    if (!screenkit::repeatAllowed(
            m_context.messages(),
            monthlydebt::alreadyPosted(m_context.company(), date, members, m_captions)))
        return;
    std::optional<int> posted;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        posted = monthlydebt::post(
            m_context.company(), date, members, m_captions, [&](const monthlydebt::Progress &p) {
                busy.step(p.done, p.count, [&] { m_status->setText(p.kod); });
            });
    }
    m_status->setText(posted ? QStringLiteral("%1 borç yazıldı.").arg(*posted) : QString());
}

void koopborc::print(monthlydebt::Range range) {
    const QDate date = parseTrDate(m_date->Text());
    if (!date.isValid()) {
        m_context.messages().warning(QStringLiteral("Hatalı Tarih.."));
        return;
    }
    const std::vector<monthlydebt::Member> members = gridMembers();
    printing::printWithSetup(m_printContext, this, monthlydebt::presetPrinter, [&] {
        const printing::PrinterSettings &settings = m_printContext.settings;
        // The vouchers print all the same; only next time's title is lost.
        if (!monthlydebt::storeVoucherTitle(settings.title))
            m_context.messages().warning(QStringLiteral("Fiş başlığı saklanamadı."));
        const monthlydebt::VoucherRun run{settings.title,
                                          date,
                                          m_period->Text(),
                                          qint32(m_number->Value().toLongLong()),
                                          monthlydebt::cooperativeName(m_context.company()),
                                          m_captions,
                                          m_context.tlonda(),
                                          m_context.tlnick(),
                                          m_context.krnick()};
        prnx printer(m_printContext);
        // A print that did not get through has said so.
        (void)monthlydebt::printVouchers(
            printer, members, monthlydebt::rowsOf(range, m_grid->CurSat(), int(members.size())),
            run);
    });
}
