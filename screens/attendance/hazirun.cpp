#include "screens/attendance/hazirun.h"

#include "actions/attendance/attendanceprint.h"
#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/printwithsetup.h"
#include "printing/prnx.h"
#include "screens/attendance/hazgrp.h"
#include "screens/kit/codefield.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
enum Column { Sira, Kod, Unvan, Adres };
}

hazirun::hazirun(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_first(new xtext(this)),
      m_last(new xtext(this)), m_byCode(new QRadioButton(QStringLiteral("Koda Göre"), this)),
      m_byName(new QRadioButton(QStringLiteral("Ad 'a Göre"), this)),
      m_grouped(new QCheckBox(QStringLiteral("Grupla"), this)),
      m_marks(new QCheckBox(QStringLiteral("Asaleten / Vekaleten"), this)),
      m_groups(new QPushButton(QStringLiteral("Grup Ayar"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır "), this)),
      m_grid(new dclist(context.messages(), this)) {
    setWindowTitle(QStringLiteral("Hazirun Listesi"));
    m_first->setObjectName(QStringLiteral("ilkKod"));
    m_last->setObjectName(QStringLiteral("sonKod"));
    m_byCode->setObjectName(QStringLiteral("kodaGore"));
    m_byName->setObjectName(QStringLiteral("adaGore"));
    m_grouped->setObjectName(QStringLiteral("grupla"));
    m_marks->setObjectName(QStringLiteral("isaretler"));
    m_groups->setObjectName(QStringLiteral("grupAyar"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    m_grid->setObjectName(QStringLiteral("liste"));
    m_marks->setToolTip(QStringLiteral("İmzanın önüne Asaleten ve Vekaleten kutuları"));

    auto *fields = new QHBoxLayout;
    for (const auto &[text, field] :
         {std::pair{u" İlk Cari Kod", m_first}, std::pair{u"Son Cari Kod", m_last}}) {
        screenkit::codeField(*field, context, *this);
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(field);
        fields->addWidget(label);
        fields->addWidget(field, 1);
        connect(field, &xtext::KeyDown, this, [this](int key, bool) { screenKey(key); });
    }
    auto *options = new QHBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{m_byCode, m_byName, m_grouped, m_marks})
        options->addWidget(w);
    options->addStretch(1);
    m_byCode->setChecked(true);

    m_grid->Add(QStringLiteral("n"), QStringLiteral("sira"), QStringLiteral("Sira"), 100, 15);
    m_grid->Add(QStringLiteral("a"), QStringLiteral("kod"), QStringLiteral("Kod"), 70, 15);
    m_grid->Add(QStringLiteral("a"), QStringLiteral("unv"), QStringLiteral("Unvan"), 250, 35);
    m_grid->Add(QStringLiteral("a"), QStringLiteral("adr"), QStringLiteral("Adres"), 450, 150);
    m_grid->setMinimumSize(900, 360);
    connect(m_grid, &dclist::KeyDown, this, [this](int key, int, int) { screenKey(key); });
    // The list is read again when the clerk comes into it after changing the
    // range or the order.
    screenkit::whenEntered(*m_grid, [this] { refresh(); });

    for (QPushButton *b : {m_groups, m_print})
        b->setAutoDefault(true);
    connect(m_groups, &QPushButton::clicked, this, &hazirun::editGroups);
    connect(m_print, &QPushButton::clicked, this, &hazirun::print);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(options);
    layout->addWidget(m_grid, 1);
    layout->addLayout(screenkit::buttonRow({m_groups, m_print}));

    // Enter goes down the fields and the options into the list.
    screenkit::tabOrder(
        {m_first, m_last, m_byCode, m_byName, m_grouped, m_marks, m_grid, m_groups, m_print});
    const auto keys = [this](int key) {
        if (key != Qt::Key_F8)
            return false;
        screenKey(key);
        return true;
    };
    screenkit::listKeys(*m_byCode, *m_grouped, keys);
    screenkit::listKeys(*m_byName, *m_grouped, keys);
    screenkit::listKeys(*m_grouped, *m_marks, keys);
    screenkit::listKeys(*m_marks, *m_grid, keys);

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_groups, QStringLiteral("check.ico")},
                         {m_print, QStringLiteral("printerm.ico")}};
    parts.fieldPictures = {{m_first, QStringLiteral("go.ico")}, {m_last, QStringLiteral("go.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const attendance::Opening opening = attendance::open(context.company());
    m_first->setTextValue(opening.firstCode);
    m_last->setTextValue(opening.lastCode);
    refresh();
    m_first->setFocus();
}

attendance::Query hazirun::query() const {
    return {m_first->Text(), m_last->Text(), m_byName->isChecked()};
}

void hazirun::screenKey(int key) {
    if (key == Qt::Key_Escape)
        close();
    else if (key == Qt::Key_F8)
        print();
}

void hazirun::refresh() {
    const attendance::Query q = query();
    if (m_shown == q)
        return;
    m_grid->Clear();
    m_members.clear();
    m_shown.reset();
    auto members = attendance::load(m_context.company(), q);
    if (!members)
        return;
    m_shown = q;
    m_members = std::move(*members);
    for (size_t i = 0; i < m_members.size(); ++i) {
        const int row = m_grid->CreateNewCaption();
        if (row < 0)
            break;
        m_grid->setCaption(row, Sira, QString::number(i + 1));
        m_grid->setCaption(row, Kod, m_members[i].kod);
        m_grid->setCaption(row, Unvan, m_members[i].unvan);
        m_grid->setCaption(row, Adres, m_members[i].adres);
    }
    m_grid->reyaz();
    m_grid->ChngSat(0);
}

void hazirun::print() {
    refresh();
    if (!attendance::listed(m_context.messages(), m_members))
        return;
    attendance::PrintOptions options;
    if (m_grouped->isChecked())
        options.groups = attendance::readGroups(attendance::groupFile(m_context.company()));
    options.marks = m_marks->isChecked();
    printing::printWithSetup(m_printContext, this, attendance::presetPrinter, [&] {
        prnx printer(m_printContext);
        // A print that did not get through has said so.
        (void)attendance::printList(printer, m_context.messages(), m_members, options);
    });
}

void hazirun::editGroups() {
    hazgrp groups(m_context, this);
    groups.exec();
}
