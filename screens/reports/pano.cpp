#include "screens/reports/pano.h"

#include "actions/reports/dashboard.h"
#include "controls/xtext.h"
#include "gui/screencontext.h"
#include "printing/pageprint.h"
#include "screens/kit/busyrun.h"
#include "screens/kit/listkeys.h"
#include "screens/kit/screentheme.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

pano::pano(ScreenContext &context, printing::PrintContext &printContext, QWidget *parent)
    : QWidget(parent), m_context(context), m_printContext(printContext), m_year(new xtext(this)),
      m_month(new xtext(this)), m_grid(new QGridLayout), m_summary(new QLabel(this)),
      m_progress(new QProgressBar(this)),
      m_hesapla(new QPushButton(QStringLiteral(" Hesapla"), this)),
      m_print(new QPushButton(QStringLiteral(" Yazdır"), this)),
      m_save(new QPushButton(QStringLiteral(" Kaydet"), this)) {
    setWindowTitle(QStringLiteral("Genel Durum"));
    m_year->xTextBicim(xtext::Sayi, 9999, Qt::AlignHCenter, 0, 0, 0);
    m_month->xTextBicim(xtext::Sayi, 12, Qt::AlignHCenter, 0, 0, 0);
    auto *fields = new QHBoxLayout;
    const std::pair<xtext *, const char16_t *> labelled[] = {{m_year, u"Yıl"},
                                                             {m_month, u"Kasa Ayı"}};
    for (const auto &[field, text] : labelled) {
        auto *label = new QLabel(QString::fromUtf16(text), this);
        label->setBuddy(field);
        fields->addWidget(label);
        fields->addWidget(field);
        connect(field, &xtext::KeyDown, this, [this](int key, bool) {
            if (key == Qt::Key_Escape)
                close();
            else if (key == Qt::Key_F5)
                hesapla();
            else if (key == Qt::Key_F8)
                print();
        });
    }
    fields->addStretch(1);

    m_summary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_summary->setMinimumSize(280, 220);
    m_summary->setFrameShape(QFrame::StyledPanel);
    m_summary->setMargin(12);
    m_progress->setVisible(false);
    for (QPushButton *b : {m_hesapla, m_print, m_save})
        b->setAutoDefault(true);
    connect(m_hesapla, &QPushButton::clicked, this, &pano::hesapla);
    connect(m_print, &QPushButton::clicked, this, &pano::print);
    connect(m_save, &QPushButton::clicked, this, &pano::save);
    QHBoxLayout *buttons = screenkit::buttonRow({m_hesapla, m_print, m_save});
    buttons->insertWidget(0, m_progress, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(m_grid, 1);
    layout->addLayout(buttons);
    resize(1180, 760);

    m_year->setObjectName(QStringLiteral("yil"));
    m_month->setObjectName(QStringLiteral("ay"));
    m_summary->setObjectName(QStringLiteral("ozet"));
    m_progress->setObjectName(QStringLiteral("ilerleme"));
    m_hesapla->setObjectName(QStringLiteral("hesapla"));
    m_print->setObjectName(QStringLiteral("yazdir"));
    m_save->setObjectName(QStringLiteral("kaydet"));
    screenkit::ThemeParts parts;
    parts.buttonIcons = {{m_hesapla, QStringLiteral("check.ico")},
                         {m_print, QStringLiteral("printerm.ico")}};
    screenkit::applyScreenTheme(*this, context, parts);

    const QDate today = context.today();
    m_year->setTextValue(QString::number(today.year()));
    m_month->setTextValue(QString::number(today.month()));
    m_year->setFocus();
}

void pano::hesapla() {
    const int year = m_year->Text().toInt();
    const int month = m_month->Text().toInt();
    std::optional<dashboard::Board> board;
    {
        screenkit::BusyRun busy(*m_progress, 40);
        board =
            dashboard::build(m_context.company(), year, month, [&](const dashboard::Progress &p) {
                busy.step(p.done, p.count, [] {});
            });
    }
    if (!board)
        return; // said why
    m_charts = dashboard::chartsOf(*board, m_context.tlonda());
    showCharts();
}

void pano::showCharts() {
    for (QWidget *view : m_views)
        delete view;
    m_views.clear();
    const charts::Board &b = *m_charts;
    std::vector<QWidget *> order{m_year, m_month};
    for (size_t i = 0; i < b.charts.size(); ++i) {
        QWidget *view = charts::chartView(b.charts[i], this);
        view->setObjectName(QStringLiteral("grafik%1").arg(i + 1));
        view->installEventFilter(this);
        m_grid->addWidget(view, int(i) / 3, int(i) % 3);
        view->show(); // at once: the clerk may Tab onto it before the next paint
        m_views.push_back(view);
        order.push_back(view);
    }
    m_summary->setText(b.summary.join(u'\n'));
    m_grid->addWidget(m_summary, 1, 2);
    order.insert(order.end(), {m_hesapla, m_print, m_save});
    screenkit::tabOrder(order);
}

int pano::currentChart() const {
    for (size_t i = 0; i < m_views.size(); ++i)
        if (m_views[i]->hasFocus())
            return int(i);
    return -1;
}

void pano::print() {
    if (!m_charts)
        hesapla();
    if (!m_charts)
        return;
    const charts::Board &b = *m_charts;
    const int chart = currentChart();
    // An A4 page upright: the charts across its width, as tall as they are wide allows.
    (void)printing::printPage(m_printContext, QStringLiteral("Grafik"), [&](QPainter &p) {
        const QRectF page(p.viewport());
        const double margin = page.width() / 20;
        const QRectF area = page.adjusted(margin, margin, -margin, -margin);
        const QRectF target(area.topLeft(), QSizeF(area.width(), area.width() * 0.62));
        if (chart >= 0)
            charts::drawChart(p, target, b.charts[size_t(chart)]);
        else
            charts::drawBoard(p, target, b);
    });
}

void pano::save() {
    if (!m_charts)
        hesapla();
    if (!m_charts)
        return;
    const int chart = currentChart();
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Grafiği Kaydet"),
        chart >= 0 ? QStringLiteral("grafik.png") : QStringLiteral("genel-durum.pdf"),
        QStringLiteral("PNG resmi (*.png);;PDF belgesi (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) &&
        !path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    const charts::Board &b = *m_charts;
    QString error;
    const bool written = chart >= 0 ? charts::writeChart(path, b.charts[size_t(chart)], &error)
                                    : charts::writeBoard(path, b, &error);
    if (!written)
        m_context.messages().warning(QStringLiteral("Dosya yazılamadı: ") + path + u'\n' + error);
}

bool pano::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_F8) {
        print();
        return true;
    }
    if (key->key() == Qt::Key_S && key->modifiers().testFlag(Qt::ControlModifier)) {
        save();
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        m_year->setFocus();
        return true;
    }
    return false;
}
