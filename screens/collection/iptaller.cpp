#include "screens/collection/iptaller.h"

#include "actions/collection/voidsprint.h"
#include "base/daynumber.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/kit/screentheme.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

iptaller::iptaller(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QDialog(parent), m_context(context), m_printContext(printContext), m_from(new xtext(this)),
      m_to(new xtext(this)), m_grid(new dclist(context.messages(), this)),
      m_total(new QLabel(this)), m_list(new QPushButton(QStringLiteral(" Listele"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)),
      m_close(new QPushButton(QStringLiteral(" Kapat"), this)) {
    setWindowTitle(collection::voidsTitle());
    const QDate today = context.today();
    for (auto [field, name, date] :
         {std::tuple{m_from, "baslangic", QDate(today.year(), today.month(), 1)},
          std::tuple{m_to, "bitis", today}}) {
        field->setObjectName(QString::fromLatin1(name));
        field->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
        field->setTextValue(formatTrDate(date));
        field->setMaximumWidth(140);
    }
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Başlangıç Tarihi"), m_from);
    form->addRow(QStringLiteral("Bitiş Tarihi"), m_to);

    const QStringList captions = collection::voidsCaptions();
    const int widths[] = {80, 90, 90, 70, 200, 100, 260};
    for (int c = 0; c < captions.size(); ++c)
        m_grid->Add(c == 5 ? QStringLiteral("N") : QStringLiteral("A"),
                    QStringLiteral("s%1").arg(c), captions[c], widths[c], 60, 0,
                    c == 5 ? context.tlonda() : 0, c == 5 ? 3 : 0);
    m_grid->setMinimumSize(900, 300);
    m_grid->setObjectName(QStringLiteral("liste"));
    m_total->setObjectName(QStringLiteral("toplam"));
    m_list->setObjectName(QStringLiteral("listele"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    m_close->setObjectName(QStringLiteral("kapat"));
    connect(m_list, &QPushButton::clicked, this, &iptaller::list);
    connect(m_print, &QPushButton::clicked, this, &iptaller::print);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_total);
    layout->addLayout(screenkit::buttonRow({m_list, m_print, m_close}));
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_print, QStringLiteral("printerm.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);
    list();
    m_from->setFocus();
}

void iptaller::list() {
    m_grid->Clear();
    m_lines.clear();
    const auto lines = collection::voidsList(m_context.company(), parseTrDate(m_from->Text()),
                                             parseTrDate(m_to->Text()));
    if (!lines)
        return;
    m_lines = *lines;
    Money total;
    for (const collection::VoidLine &l : m_lines) {
        const int row = m_grid->CreateNewCaption();
        const QStringList cells = collection::shownVoid(l, m_context.tlonda());
        for (int c = 0; c < cells.size(); ++c)
            m_grid->setCaption(row, c, cells[c]);
        total += l.v.tutar;
    }
    m_grid->reyaz();
    m_total->setText(QStringLiteral("%1 makbuz, toplam %2")
                         .arg(m_lines.size())
                         .arg(formatAmount(total, m_context.tlonda())));
}

void iptaller::print() {
    // What is printed is what the dates say now, not what was listed before.
    list();
    printing::printWithSetup(m_printContext, this, collection::presetVoidsPrinter, [&] {
        prnx printer(m_printContext);
        // A print that did not get through has said so.
        (void)collection::printVoids(printer, m_lines,
                                     collection::voidsHead(m_context.company(),
                                                           parseTrDate(m_from->Text()),
                                                           parseTrDate(m_to->Text())),
                                     m_context.tlonda());
    });
}
