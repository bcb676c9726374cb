#include "screens/members/uye.h"

#include "controls/dclist.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "screens/kit/codefield.h"
#include "screens/kit/screentheme.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr size_t Kod = 0, Asd = 9;

QString field(size_t i) {
    return members::fields().value(qsizetype(i));
}

} // namespace

uye::uye(ScreenContext &context, printing::PrintContext &, QWidget *parent)
    : QWidget(parent), m_context(context), m_kind(new QComboBox(this)), m_state(new QLabel(this)),
      m_list(new dclist(context.messages(), this)),
      m_yeni(new QPushButton(QStringLiteral(" Yeni"), this)),
      m_kaydet(new QPushButton(QStringLiteral(" Kaydet"), this)),
      m_sil(new QPushButton(QStringLiteral(" Sil"), this)),
      m_kapat(new QPushButton(QStringLiteral(" Kapat"), this)) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("Üye Kartları"));
    auto *grid = new QGridLayout;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        auto *label = new QLabel(members::label(field(i)), this);
        grid->addWidget(label, int(i), 0);
        if (i == Asd) {
            for (int asd = 0; asd < 3; ++asd)
                m_kind->addItem(QStringLiteral("%1 %2").arg(asd).arg(members::kindName(asd)));
            m_kind->setObjectName(field(i));
            label->setBuddy(m_kind);
            grid->addWidget(m_kind, int(i), 1);
            continue;
        }
        auto *f = new xtext(this);
        f->setObjectName(field(i));
        m_fields[i] = f;
        if (i == Kod)
            screenkit::codeField(*f, context, *this);
        else
            f->setMaxLenght(members::fieldSize(field(i)));
        label->setBuddy(f);
        // Names and addresses take the whole width, codes their own.
        const bool wide = i >= 1 && i <= 5;
        grid->addWidget(f, int(i), 1, 1, wide ? 2 : 1);
        if (!wide)
            f->setMinimumWidth(180);
        connect(f, &xtext::KeyDown, this, [this, i](int key, bool) {
            // F2 has just chosen a card in the lookup window.
            if (i == Kod && key == Qt::Key_F2)
                bringUp(m_fields[Kod]->Text().trimmed());
            else
                screenKey(key);
        });
    }
    // A code typed and left (Enter moves on) brings its card up.
    connect(m_fields[Kod], &QLineEdit::editingFinished, this, [this] {
        const QString kod = m_fields[Kod]->Text().trimmed();
        if (kod != m_shownKod)
            bringUp(kod);
    });
    connect(m_fields[Kod], &xtext::ButtonClick, this,
            [this] { bringUp(m_fields[Kod]->Text().trimmed()); });
    grid->setColumnStretch(2, 1);
    m_state->setObjectName(QStringLiteral("durum"));
    grid->addWidget(m_state, int(m_fields.size()), 0, 1, 3);

    const QStringList captions{QStringLiteral("Kod"), QStringLiteral("Adı Soyadı"),
                               QStringLiteral("Grup"), QStringLiteral("Tip"),
                               QStringLiteral("Tür")};
    const int widths[] = {90, 260, 70, 70, 70};
    for (int c = 0; c < captions.size(); ++c)
        m_list->Add(QStringLiteral("A"), QStringLiteral("s%1").arg(c), captions[c], widths[c], 50);
    m_list->setSort(true);
    m_list->setObjectName(QStringLiteral("liste"));
    m_list->setMinimumSize(600, 220);
    connect(m_list, &dclist::KeyDown, this, [this](int key, int, int row) {
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && row >= 0)
            bringUp(m_list->Caption(row, 0).toString());
        else
            screenKey(key);
    });
    connect(m_list, &dclist::MouseDown, this, [this](int, int, int row) {
        if (row >= 0)
            bringUp(m_list->Caption(row, 0).toString());
    });

    for (auto [button, name] : {std::pair{m_yeni, "yeni"}, std::pair{m_kaydet, "kaydet"},
                                std::pair{m_sil, "sil"}, std::pair{m_kapat, "kapat"}})
        button->setObjectName(QString::fromLatin1(name));
    connect(m_yeni, &QPushButton::clicked, this, &uye::newCard);
    connect(m_kaydet, &QPushButton::clicked, this, &uye::save);
    connect(m_sil, &QPushButton::clicked, this, &uye::remove);
    connect(m_kapat, &QPushButton::clicked, this, &QWidget::close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(screenkit::buttonRow({m_yeni, m_kaydet, m_sil, m_kapat}));
    layout->addWidget(m_list, 1);

    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_kaydet, QStringLiteral("check.ico")},
                         {m_kapat, QStringLiteral("uncheck.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);
    refill();
    newCard();
    QApplication::restoreOverrideCursor();
}

void uye::screenKey(int key) {
    switch (key) {
    case Qt::Key_F3:
        newCard();
        break;
    case Qt::Key_F5:
        save();
        break;
    case Qt::Key_F8:
        remove();
        break;
    case Qt::Key_Escape:
        close();
        break;
    default:
        break;
    }
}

void uye::refill() {
    m_list->Clear();
    const auto cards = members::list(m_context.company());
    if (!cards)
        return;
    for (const members::Card &c : *cards) {
        const int row = m_list->CreateNewCaption();
        if (row < 0)
            break;
        m_list->setCaption(row, 0, c.kod());
        m_list->setCaption(row, 1, c.value(QStringLiteral("isim1")));
        m_list->setCaption(row, 2, c.value(QStringLiteral("grp")));
        m_list->setCaption(row, 3, c.value(QStringLiteral("tip")));
        m_list->setCaption(row, 4, members::kindName(c.value(QStringLiteral("asd")).toInt()));
    }
    m_list->reyaz();
}

void uye::showCard(const members::Card &card) {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (i == Asd)
            m_kind->setCurrentIndex(card.value(field(i)).toInt());
        else
            m_fields[i]->setTextValue(card.value(field(i)));
    }
}

members::Card uye::edited() const {
    members::Card card;
    for (size_t i = 0; i < m_fields.size(); ++i)
        card.set(field(i),
                 i == Asd ? QString::number(m_kind->currentIndex()) : m_fields[i]->Text());
    return card;
}

void uye::newCard() {
    m_loaded.reset();
    m_shownKod.clear();
    members::Card blank;
    blank.set(QStringLiteral("asd"), QStringLiteral("0"));
    showCard(blank);
    m_fields[Kod]->setLocked(false);
    m_state->setText(QStringLiteral("Yeni kart: kodunu yazın ya da F2 ile bir kart seçin."));
    m_fields[Kod]->setFocus();
}

void uye::bringUp(const QString &kod) {
    m_shownKod = kod;
    if (kod.isEmpty())
        return;
    const auto card = members::read(m_context.company(), kod);
    if (!card) {
        if (m_loaded) {
            // The card on the form gets the code typed over its own.
            m_state->setText(QStringLiteral("Yeni kod: %1. Kaydet (F5) ile %2 kodlu kartın kodu "
                                            "değişir.")
                                 .arg(kod, m_loaded->kod()));
        } else {
            m_state->setText(QStringLiteral("Yeni kart: ") + kod);
        }
        m_fields[Kod + 1]->setFocus();
        return;
    }
    m_loaded = card;
    showCard(*card);
    const auto rows = members::rowsOf(m_context.company(), kod);
    const bool used = rows && *rows > 0;
    m_fields[Kod]->setLocked(used);
    m_state->setText(used ? QStringLiteral("Kartın %1 hareketi var: kodu değiştirilemez, kart "
                                           "silinemez.")
                                .arg(*rows)
                          : QStringLiteral("Kartın hareketi yok."));
    m_fields[Kod + 1]->setFocus();
}

void uye::save() {
    const members::Card card = edited();
    const bool stored = m_loaded ? members::change(m_context.company(), *m_loaded, card)
                                 : members::add(m_context.company(), card);
    if (!stored)
        return;
    refill();
    bringUp(card.kod());
    m_state->setText(QStringLiteral("%1 kodlu kart kaydedildi.").arg(card.kod()));
}

void uye::remove() {
    if (!m_loaded)
        return;
    const QString kod = m_loaded->kod();
    if (!m_context.messages().ask(Messages::Icon::Question, Messages::korvane(),
                                  QStringLiteral("%1 kodlu kart silinsin mi?").arg(kod), false))
        return;
    if (!members::remove(m_context.company(), kod))
        return;
    refill();
    newCard();
    m_state->setText(QStringLiteral("%1 kodlu kart silindi.").arg(kod));
}
