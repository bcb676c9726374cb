#include "screens/attendance/hazgrp.h"

#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/codefield.h"
#include "screens/kit/screentheme.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

hazgrp::hazgrp(ScreenContext &context, QWidget *parent)
    : QDialog(parent), m_context(context),
      m_kaydet(new QPushButton(QStringLiteral(" Kaydet "), this)),
      m_cikis(new QPushButton(QStringLiteral(" Çıkış "), this)) {
    setWindowTitle(QStringLiteral("Hazirun Grup Ayarları"));
    auto *grid = new QGridLayout;
    std::vector<QLabel *> captions;
    for (const auto &[column, text] :
         {std::pair{1, u"Başlangıç Kodu"}, std::pair{2, u"Bitiş Kodu"}}) {
        auto *caption = new QLabel(QString::fromUtf16(text), this);
        captions.push_back(caption);
        grid->addWidget(caption, 0, column);
    }
    const attendance::Groups groups =
        attendance::readGroups(attendance::groupFile(context.company()));
    screenkit::ThemeParts parts;
    QWidget *previous = nullptr;
    for (int g = 0; g < attendance::GroupCount; ++g) {
        auto *label = new QLabel(QStringLiteral("%1. Grup").arg(g + 1), this);
        grid->addWidget(label, g + 1, 0);
        const auto add = [&](xtext *&field, const char *name, const QString &value, int column) {
            field = new xtext(this);
            field->setObjectName(QStringLiteral("%1%2").arg(QLatin1String(name)).arg(g + 1));
            screenkit::codeField(*field, context, *this);
            field->setTextValue(value);
            connect(field, &xtext::KeyDown, this, [this](int key, bool) {
                if (key == Qt::Key_Escape)
                    reject();
            });
            grid->addWidget(field, g + 1, column);
            parts.fieldPictures.push_back({field, QStringLiteral("go.ico")});
            if (previous)
                setTabOrder(previous, field);
            previous = field;
        };
        add(m_start[size_t(g)], "baslangic", groups[size_t(g)].start, 1);
        add(m_end[size_t(g)], "bitis", groups[size_t(g)].end, 2);
        label->setBuddy(m_start[size_t(g)]);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    m_kaydet->setObjectName(QStringLiteral("kaydet"));
    m_cikis->setObjectName(QStringLiteral("cikis"));
    for (QPushButton *b : {m_kaydet, m_cikis})
        b->setAutoDefault(true);
    setTabOrder(previous, m_kaydet);
    setTabOrder(m_kaydet, m_cikis);
    connect(m_kaydet, &QPushButton::clicked, this, &hazgrp::kaydet);
    connect(m_cikis, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(screenkit::buttonRow({m_kaydet, m_cikis}));
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_cikis, QStringLiteral("uncheck.ico")}};
    parts.captions = captions;
    screenkit::applyScreenTheme(*this, context, parts);
    m_start[0]->setFocus();
}

void hazgrp::kaydet() {
    attendance::Groups groups;
    for (int g = 0; g < attendance::GroupCount; ++g)
        groups[size_t(g)] = {m_start[size_t(g)]->Text(), m_end[size_t(g)]->Text()};
    if (attendance::storeGroups(attendance::groupFile(m_context.company()), groups,
                                m_context.messages()))
        accept();
}
