#include "screens/labels/etiket.h"

#include "actions/labels/labelsprint.h"
#include "gui/screencontext.h"

#include "controls/xtext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/kit/codefield.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

enum Field { KodBas, KodSon, GrpBas, GrpSon, TipBas, TipSon, OzelBas, OzelSon };
constexpr int TextLength = 10; // group, type and special code as the card holds them

} // namespace

etiket::etiket(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext),
      m_wide(new QRadioButton(QStringLiteral("35*97 Dar Etiket"), this)),
      m_narrow(new QRadioButton(QStringLiteral("35*77 Dar Etiket"), this)),
      m_test(new QPushButton(QStringLiteral(" Test Yazdır "), this)),
      m_send(new QPushButton(QStringLiteral(" Yazıcı 'ya Gönder "), this)) {
    setWindowTitle(QStringLiteral("Cari Etiket"));
    auto *grid = new QGridLayout;
    const char16_t *labels[] = {u"Cari Kod", u"Grup", u"Tip", u"Özel"};
    const char *names[] = {"kod", "grup", "tip", "ozel"};
    screenkit::ThemeParts parts;
    for (int row = 0; row < 4; ++row) {
        auto *label = new QLabel(QString::fromUtf16(labels[row]), this);
        grid->addWidget(label, row, 0);
        for (int side = 0; side < 2; ++side) {
            auto *field = new xtext(this);
            field->setObjectName(QString::fromLatin1(names[row]) +
                                 (side ? QStringLiteral("Son") : QStringLiteral("Bas")));
            if (row == 0) {
                screenkit::codeField(*field, context, *this);
                parts.fieldPictures.push_back({field, QStringLiteral("go.ico")});
            } else {
                field->xTextBicim(xtext::Metin, TextLength, Qt::AlignLeft, 0, 0, 0);
            }
            connect(field, &xtext::KeyDown, this, [this](int key, bool) { screenKey(key); });
            grid->addWidget(field, row, side + 1);
            m_range[size_t(row * 2 + side)] = field;
        }
        label->setBuddy(m_range[size_t(row * 2)]);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    setMinimumWidth(560);

    auto *status = new QHBoxLayout;
    const char *statusNames[] = {"a", "s", "d"};
    for (int i = 0; i < 3; ++i) {
        m_status[size_t(i)] = new QCheckBox(QString::fromLatin1(statusNames[i]).toUpper(), this);
        m_status[size_t(i)]->setObjectName(QString::fromLatin1(statusNames[i]));
        status->addWidget(m_status[size_t(i)]);
    }
    status->addStretch(1);
    m_status[0]->setChecked(true);
    auto *kind = new QGroupBox(QStringLiteral("Etiket Tipi"), this);
    auto *kindLayout = new QVBoxLayout(kind);
    kindLayout->addWidget(m_wide);
    kindLayout->addWidget(m_narrow);
    m_wide->setChecked(true);
    m_wide->setObjectName(QStringLiteral("genis"));
    m_narrow->setObjectName(QStringLiteral("dar"));

    m_test->setObjectName(QStringLiteral("test"));
    m_send->setObjectName(QStringLiteral("gonder"));
    for (QPushButton *b : {m_test, m_send})
        b->setAutoDefault(true);
    connect(m_test, &QPushButton::clicked, this, &etiket::testPrint);
    connect(m_send, &QPushButton::clicked, this, &etiket::send);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(status);
    layout->addWidget(kind);
    layout->addLayout(screenkit::buttonRow({m_test, m_send}));

    // Enter goes down the fields and the boxes to the send button.
    std::vector<QWidget *> order(m_range.begin(), m_range.end());
    order.insert(order.end(),
                 {m_status[0], m_status[1], m_status[2], m_wide, m_narrow, m_send, m_test});
    screenkit::tabOrder(order);
    const auto keys = [this](int key) {
        if (key != Qt::Key_F8)
            return false;
        screenKey(key);
        return true;
    };
    screenkit::listKeys(*m_status[0], *m_status[1], keys);
    screenkit::listKeys(*m_status[1], *m_status[2], keys);
    screenkit::listKeys(*m_status[2], *m_wide, keys);
    screenkit::listKeys(*m_wide, *m_send, keys);
    screenkit::listKeys(*m_narrow, *m_send, keys);

    parts.buttonIcons = {{m_test, QStringLiteral("printerm.ico")},
                         {m_send, QStringLiteral("printerm.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const labels::Opening opening = labels::open(context.company());
    const labels::Selection defaults;
    const QString values[] = {opening.firstCode,       opening.lastCode,      defaults.groups.first,
                              defaults.groups.last,    defaults.types.first,  defaults.types.last,
                              defaults.specials.first, defaults.specials.last};
    for (size_t i = 0; i < m_range.size(); ++i)
        m_range[i]->setTextValue(values[i]);
    m_range[0]->setFocus();
}

void etiket::screenKey(int key) {
    if (key == Qt::Key_Escape)
        close();
    else if (key == Qt::Key_F8)
        send();
}

void etiket::testPrint() {
    printing::WaitCursor wait;
    prnx printer(m_printContext);
    (void)labels::printTest(printer); // a failure has been shown
}

void etiket::send() {
    if (m_context.messages().ask(Messages::Icon::Question, Messages::korvane(),
                                 QStringLiteral("Etiket Testi Yapılsın mı ?"), true))
        testPrint();
    labels::Selection selection{{m_range[KodBas]->Text(), m_range[KodSon]->Text()},
                                {m_range[GrpBas]->Text(), m_range[GrpSon]->Text()},
                                {m_range[TipBas]->Text(), m_range[TipSon]->Text()},
                                {m_range[OzelBas]->Text(), m_range[OzelSon]->Text()},
                                m_status[0]->isChecked(),
                                m_status[1]->isChecked(),
                                m_status[2]->isChecked()};
    if (labels::orderCodes(selection)) {
        m_range[KodBas]->setTextValue(selection.codes.first);
        m_range[KodSon]->setTextValue(selection.codes.last);
    }
    const auto cards = labels::load(m_context.company(), selection);
    if (!cards)
        return;
    {
        printing::WaitCursor wait;
        prnx printer(m_printContext);
        if (!labels::printLabels(printer, *cards))
            return;
    }
    labels::sayFinished(m_context.messages());
}
