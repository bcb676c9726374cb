#include "screens/reports/topeks.h"

#include "actions/reports/bulkstatements.h"
#include "base/daynumber.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/codefield.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr double AmountMax = 999999999999.0;
}

topeks::topeks(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_first(new xtext(this)),
      m_last(new xtext(this)), m_group(new xtext(this)), m_date(new xtext(this)),
      m_minimum(new xtext(this)),
      m_oneFile(new QRadioButton(QStringLiteral("Tek PDF, her üye yeni sayfada"), this)),
      m_perMember(new QRadioButton(QStringLiteral("Her üyeye bir PDF (klasöre)"), this)),
      m_status(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_yazdir(new QPushButton(QStringLiteral(" Yazdır"), this)) {
    setWindowTitle(QStringLiteral("Toplu Ekstre"));
    auto *grid = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const char16_t *text, QWidget *field) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    };
    for (xtext *code : {m_first, m_last})
        screenkit::codeField(*code, context, *this);
    // Empty ends take every member from the first card or up to the last.
    m_first->setPlaceholderText(QStringLiteral("ilk kart"));
    m_last->setPlaceholderText(QStringLiteral("son kart"));
    m_group->setPlaceholderText(QStringLiteral("bütün gruplar"));
    m_minimum->setPlaceholderText(QStringLiteral("borcu olsun olmasın herkes"));
    m_group->xTextBicim(xtext::Metin, 10, Qt::AlignLeft, 0, 0, 0);
    m_date->xTextBicim(xtext::Tarih, 10, Qt::AlignHCenter, 0, 0, 0);
    m_minimum->xTextBicim(xtext::Sayi, AmountMax, Qt::AlignRight, 0, context.tlonda(), 3);
    addRow(u"İlk Cari", m_first);
    addRow(u"Son Cari", m_last);
    addRow(u"Grup", m_group);
    addRow(u"Tarih", m_date);
    addRow(u"Borcu Şundan Çok", m_minimum);
    grid->addWidget(m_oneFile, row++, 1);
    grid->addWidget(m_perMember, row++, 1);
    grid->setColumnStretch(1, 1);
    m_oneFile->setChecked(true);
    for (xtext *f : {m_first, m_last, m_group, m_date, m_minimum})
        connect(f, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
            else if (key == Qt::Key_F8)
                yazdir();
        });

    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setMinimumWidth(420);
    m_status->setFixedHeight(m_status->fontMetrics().height() + 8);
    m_progress->setVisible(false);
    m_yazdir->setAutoDefault(true);
    connect(m_yazdir, &QPushButton::clicked, this, [this] { yazdir(); });
    QHBoxLayout *buttons = screenkit::buttonRow({m_yazdir});
    buttons->insertWidget(0, m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_status);
    layout->addLayout(buttons);

    m_first->setObjectName(QStringLiteral("ilkCari"));
    m_last->setObjectName(QStringLiteral("sonCari"));
    m_group->setObjectName(QStringLiteral("grup"));
    m_date->setObjectName(QStringLiteral("tarih"));
    m_minimum->setObjectName(QStringLiteral("enAz"));
    m_oneFile->setObjectName(QStringLiteral("tekDosya"));
    m_perMember->setObjectName(QStringLiteral("uyeBasina"));
    m_status->setObjectName(QStringLiteral("durum"));
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_yazdir->setObjectName(QStringLiteral("yazdir"));
    screenkit::tabOrder(
        {m_first, m_last, m_group, m_date, m_minimum, m_oneFile, m_perMember, m_yazdir});
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_yazdir, QStringLiteral("printerm.ico")}};
    parts.fieldPictures = {{m_first, QStringLiteral("go.ico")}, {m_last, QStringLiteral("go.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);
    m_date->setTextValue(formatTrDate(context.today()));
    m_first->setFocus();
}

void topeks::yazdir(const QString &given) {
    const QDate date = parseTrDate(m_date->Text());
    if (!date.isValid()) {
        m_context.messages().warning(QStringLiteral("Hatalı İşlem Tarihi..."));
        m_date->setFocus();
        return;
    }
    const bool perMember = m_perMember->isChecked();
    QString out = given;
    if (out.isEmpty())
        out = perMember ? QFileDialog::getExistingDirectory(this, QStringLiteral("Ekstrelerin "
                                                                                 "Klasörü"))
                        : QFileDialog::getSaveFileName(this, QStringLiteral("Ekstrelerin PDF'i"),
                                                       QStringLiteral("ekstreler.pdf"),
                                                       QStringLiteral("PDF belgesi (*.pdf)"));
    if (out.isEmpty())
        return;
    if (!perMember && !out.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        out += QStringLiteral(".pdf");
    bulkstatements::Selection selection;
    selection.codes = {m_first->Text(), m_last->Text()};
    selection.group = m_group->Text().trimmed();
    if (!m_minimum->Digits().isEmpty())
        selection.minBalance = parseTypedAmount(m_minimum->Digits(), m_context.tlonda());
    std::optional<bulkstatements::Result> result;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        result = bulkstatements::print(
            m_context.company(), m_printContext, selection, date, out, perMember,
            [&](const bulkstatements::Progress &p) {
                busy.step(p.done, p.count, [&] {
                    m_status->setText(
                        QStringLiteral("%1 / %2   %3").arg(p.done).arg(p.count).arg(p.kod));
                });
            });
    }
    if (!result) {
        m_status->setText(QStringLiteral("Ekstreler yazılamadı."));
        return;
    }
    m_status->setText(QStringLiteral("%1 üyeden %2 ekstre yazıldı.")
                          .arg(result->members)
                          .arg(result->statements));
    if (result->statements > 0)
        m_context.messages().information(
            QStringLiteral("%1 ekstre yazıldı:\n").arg(result->statements) + out);
}
