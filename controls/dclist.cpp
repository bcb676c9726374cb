#include "controls/dclist.h"

#include "base/messages.h"
#include "base/wholefile.h"
#include "base/xlsxexport.h"
#include "controls/dclistediting.h"
#include "controls/xtext.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTemporaryFile>
#include <QUrl>
#include <algorithm>

namespace {

const QString &validLetters() {
    static const QString letters = QStringLiteral("AaNnTtSsMmBbVvEe");
    return letters;
}

} // namespace

// Draws cells from the model's roles and makes the grid's editor. The view
// never opens or closes an editor by itself: the grid does, as persistent
// editors, and the editor handles its own keys and focus.
class DclistDelegate : public QStyledItemDelegate {
  public:
    explicit DclistDelegate(dclist *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &,
                          const QModelIndex &) const override {
        return m_grid->m_editing->createEditor(parent);
    }
    void setEditorData(QWidget *, const QModelIndex &) const override {}
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &) const override {
        editor->setGeometry(option.rect);
    }

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        // The row colours come from the model; the view's own focus and
        // selection marks are not drawn.
        option->state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
    }
    bool eventFilter(QObject *, QEvent *) override { return false; }

  private:
    dclist *m_grid;
};

dclist::dclist(Messages &messages, QWidget *parent)
    : QTableView(parent), m_messages(messages), m_model(new DclistModel(this)),
      m_delegate(new DclistDelegate(this)),
      m_editing(std::make_unique<DclistEditing>(*this, *m_model, messages)) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setAutoScroll(false);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    QHeaderView *header = horizontalHeader();
    header->setMinimumSectionSize(0);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setStretchLastSection(false);
    connect(header, &QHeaderView::sectionClicked, this, &dclist::headerClicked);

    m_opener = [](const QString &path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    m_headerFont = storedFont(StoredFont::Header);
    m_rowFont = storedFont(StoredFont::Detail);
    header->setFont(m_headerFont);
    applyRowFont();
    PassiveTextColor(m_model->colours(DclistModel::Passive).fore,
                     m_model->colours(DclistModel::Passive).back);
    BaslikTextColor(m_model->colours(DclistModel::Header).fore,
                    m_model->colours(DclistModel::Header).back);
    setScroll(3);
}

dclist::~dclist() = default;

// Columns ---------------------------------------------------------------------

void dclist::Add(const QString &type, const QString &key, const QString &caption, int width,
                 double maximum, int kind, int decimals, int grouping) {
    if (type.isEmpty() || !validLetters().contains(type.at(0)))
        return;
    if (m_mode == 2)
        leaveEdit(1, m_model->cursor());
    DclistColumn col;
    col.type = type.at(0);
    col.key = key.toUpper();
    col.caption = caption;
    col.width = std::clamp(width, 0, 9999);
    col.maximum = maximum;
    col.kind = kind;
    col.decimals = decimals;
    col.grouping = grouping;
    m_model->addColumn(col);
    applyLayout();
    if (m_tavloTazele)
        reyaz();
}

void dclist::Reset() {
    if (m_mode == 2)
        leaveEdit(1, m_model->cursor());
    m_model->removeColumns();
    applyLayout();
}

QString dclist::Style() const {
    QString s;
    for (const DclistColumn &c : m_model->columns())
        s += c.type;
    return s;
}

void dclist::setStyle(const QString &letters) {
    const int n = std::min(int(letters.size()), ColumnCount());
    for (int c = 0; c < n; ++c) {
        m_model->editColumn(c).type = letters.at(c);
        m_model->columnChanged(c);
    }
    applyLayout();
}

QString dclist::Baslik(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).caption : QString();
}

void dclist::setBaslik(int col, const QString &caption) {
    if (col < 0 || col >= ColumnCount())
        return;
    m_model->editColumn(col).caption = caption;
    m_model->columnChanged(col);
}

QString dclist::SectionName(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).key : QString();
}

void dclist::setSectionName(int col, const QString &key) {
    if (col >= 0 && col < ColumnCount())
        m_model->editColumn(col).key = key.toUpper();
}

int dclist::Size(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).width : 0;
}

void dclist::setSize(int col, int width) {
    if (col < 0 || col >= ColumnCount())
        return;
    m_model->editColumn(col).width = std::clamp(width, 0, 9999);
    applyLayout();
}

QString dclist::Sizes() const {
    QString s;
    for (const DclistColumn &c : m_model->columns())
        s += QString::number(c.width).rightJustified(4, u'0');
    return s;
}

double dclist::MaxValue(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).maximum : 0;
}

void dclist::setMaxValue(int col, double maximum) {
    if (col >= 0 && col < ColumnCount())
        m_model->editColumn(col).maximum = maximum;
}

int dclist::Kosul(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).kind : 0;
}

void dclist::setKosul(int col, int kind) {
    if (col >= 0 && col < ColumnCount())
        m_model->editColumn(col).kind = kind;
}

int dclist::OndaHane(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).decimals : 0;
}

void dclist::setOndaHane(int col, int decimals) {
    if (col < 0 || col >= ColumnCount())
        return;
    m_model->editColumn(col).decimals = decimals;
    m_model->columnChanged(col);
}

int dclist::BinlikAyrac(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->column(col).grouping : 0;
}

void dclist::setBinlikAyrac(int col, int grouping) {
    if (col < 0 || col >= ColumnCount())
        return;
    m_model->editColumn(col).grouping = grouping;
    m_model->columnChanged(col);
}

void dclist::applyLayout() {
    for (int c = 0; c < ColumnCount(); ++c) {
        const int w = m_model->column(c).width;
        setColumnHidden(c, w == 0);
        if (w > 0)
            setColumnWidth(c, w);
    }
}

// Rows ------------------------------------------------------------------------

int dclist::CreateNewCaption() {
    if (m_model->count() - 1 >= LastRowIndex)
        return -1;
    return m_model->appendRow();
}

void dclist::Clear() {
    if (m_mode == 2) {
        m_editing->close();
        m_mode = 1;
        verticalScrollBar()->setEnabled(true);
        horizontalScrollBar()->setEnabled(true);
    }
    m_flash = false;
    m_model->clearRows();
    m_model->setCursor(-1, m_mode);
    viewport()->update();
}

QVariant dclist::Caption(int row, int col) const {
    if (col < 0 || col >= ColumnCount() || row < 0)
        return {};
    return m_model->cell(row, col);
}

void dclist::setCaption(int row, int col, const QVariant &value) {
    // Rows up to a page beyond the counted ones may be written before they
    // are counted, as in the table that grows by pages.
    if (col < 0 || col >= ColumnCount() || row < 0 || row > LastRowIndex ||
        row >= std::max(m_model->count(), m_model->cursor() + 1) + pageRows())
        return;
    m_model->setCell(row, col, value);
}

QVariant dclist::CaptionByName(int row, const QString &key) const {
    return Caption(row, m_model->columnByKey(key));
}

void dclist::setCaptionByName(int row, const QString &key, const QVariant &value) {
    setCaption(row, m_model->columnByKey(key), value);
}

void dclist::OkUpdateData(int row) {
    const int r = row < 0 ? m_model->cursor() : row;
    if (r < 0 || r > LastRowIndex)
        return;
    const QStringList &buffers = m_model->buffers();
    for (int c = 0; c < ColumnCount(); ++c) {
        const QString &b = buffers[c];
        switch (m_model->column(c).letter()) {
        case u'N':
            m_model->setCell(r, c, DclistModel::val(b));
            break;
        case u'S':
            m_model->setCell(r, c, b.left(1));
            break;
        default:
            m_model->setCell(r, c, b);
            break;
        }
    }
    m_model->countRow(r);
    m_model->publish();
}

QString dclist::curtext(const QString &text, int col) const {
    return m_model->numberText(text, col);
}

// Edit buffers ------------------------------------------------------------------

QString dclist::Text(int col) const {
    return col >= 0 && col < ColumnCount() ? m_model->buffers()[col] : QString();
}

void dclist::setText(int col, const QString &text) {
    if (col < 0 || col >= ColumnCount())
        return;
    m_model->setBuffer(col, text);
    m_editing->bufferWritten(col, text);
}

QString dclist::TextByName(const QString &key) const {
    return Text(m_model->columnByKey(key));
}

void dclist::setTextByName(const QString &key, const QString &text) {
    setText(m_model->columnByKey(key), text);
}

void dclist::Flash() {
    if (m_model->cursor() < 0)
        return;
    m_flash = true;
    m_model->setBufferRow(m_model->cursor());
    m_model->rowChanged(m_model->cursor());
}

// Cursor and modes --------------------------------------------------------------

int dclist::topRow() const {
    return verticalScrollBar()->value();
}

int dclist::toAbsolute(int row) const {
    return m_freeWork ? row : topRow() + row;
}

int dclist::toReported(int row) const {
    if (row < 0 || m_freeWork)
        return row;
    return row - topRow();
}

int dclist::pageRows() const {
    const int h = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / h);
}

bool dclist::validCursorRow(int row) const {
    return row >= 0 && row <= std::min(m_model->count(), LastRowIndex);
}

int dclist::CurSat() const {
    return toReported(m_model->cursor());
}

void dclist::scrollToRow(int row) {
    m_model->publish();
    executeDelayedItemsLayout();
    const int top = topRow(), page = pageRows();
    if (row < top)
        verticalScrollBar()->setValue(row);
    else if (row >= top + page)
        verticalScrollBar()->setValue(row - page + 1);
}

void dclist::loadBuffers(int row) {
    QStringList &buffers = m_model->buffers();
    for (int c = 0; c < ColumnCount(); ++c)
        buffers[c] = DclistModel::cellText(m_model->cell(row, c));
    m_flash = false;
    m_model->setBufferRow(m_mode == 2 ? row : -1);
    m_model->rowChanged(row);
}

void dclist::gotoRow(int row, bool raise) {
    if (!validCursorRow(row))
        return;
    m_model->setCursor(row, m_mode);
    scrollToRow(row);
    loadBuffers(row);
    if (raise)
        emit SatirChange(toReported(row));
}

void dclist::ChngSat(int row) {
    const int abs = toAbsolute(row);
    if (!validCursorRow(abs))
        return;
    if (m_mode == 2) {
        m_editing->close();
        gotoRow(abs, true);
        if (m_mode == 2)
            m_editing->open(m_col);
        return;
    }
    gotoRow(abs, true);
}

void dclist::ChngMode(int mode, int row) {
    m_model->publish();
    int abs = toAbsolute(row);
    // A cursor outside the rows goes back to the first visible row.
    if (!validCursorRow(abs))
        abs = validCursorRow(topRow()) ? topRow() : 0;
    switch (mode) {
    case 2:
        if (m_mode == 2)
            return;
        m_cellLock = false;
        if (m_locked) {
            m_lockedRow = abs;
            emit isLocked(toReported(abs));
            return;
        }
        enterEdit(abs);
        return;
    case 1:
        if (m_mode == 1)
            gotoRow(abs, true);
        else
            leaveEdit(1, abs);
        return;
    default:
        if (m_mode != 0)
            leaveEdit(0, m_model->cursor());
        return;
    }
}

void dclist::enterEdit(int row) {
    if (row != m_model->cursor())
        gotoRow(row, false);
    m_mode = 2;
    m_col = 0;
    verticalScrollBar()->setEnabled(false);
    horizontalScrollBar()->setEnabled(false);
    m_model->setCursor(row, 2);
    m_model->setBufferRow(row);
    scrollToRow(row);
    emit ChangeEditMode(true);
    if (m_mode != 2)
        return;
    AlanDegisti(0);
}

// To browse (1) or passive (0) mode on `row`. Leaving edit mode on the edited
// row keeps the buffers as typed, so that the owner's UpdateData reads them.
void dclist::leaveEdit(int mode, int row) {
    const int from = m_mode;
    const bool focus = m_editing->hasFocus();
    m_editing->close();
    verticalScrollBar()->setEnabled(true);
    horizontalScrollBar()->setEnabled(true);
    m_mode = mode;
    m_col = 0;
    m_flash = false;
    m_model->setBufferRow(-1);
    m_model->setCursor(m_model->cursor(), mode);
    if (focus)
        setFocus(Qt::OtherFocusReason);
    if (from == 2)
        emit ChangeEditMode(false);
    if (mode == 0)
        return;
    if (from == 0)
        emit ChangeEditMode(false);
    if (!validCursorRow(row))
        row = validCursorRow(topRow()) ? topRow() : 0;
    if (from == 2 && row == m_model->cursor()) {
        scrollToRow(row);
        emit SatirChange(toReported(row));
        return;
    }
    gotoRow(row, true);
}

void dclist::AlanDegisti(int col) {
    if (m_mode != 2)
        return;
    int c = col > 100 ? m_col + 1 : col < -100 ? m_col - 1 : col;
    const int step = col < -100 ? -1 : 1;
    const int n = ColumnCount();
    while (c >= 0 && c < n && !m_model->column(c).enterable())
        c += step;
    const int row = m_model->cursor();
    if (c >= n) {
        leaveEdit(1, m_model->cursor());
        horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
        emit UpdateData(toReported(row));
        return;
    }
    if (c < 0) {
        leaveEdit(1, m_model->cursor());
        return;
    }
    m_editing->close();
    m_col = c;
    emit AlanChanged(c);
    if (m_mode == 2 && m_col == c && !m_editing->editor())
        m_editing->open(c);
}

QLineEdit *dclist::editor() const {
    return m_editing->editor();
}

void dclist::MoveNext() {
    m_model->publish();
    const int target = m_model->cursor() + 1;
    if (target >= m_model->count()) {
        if (!m_otoIncrement)
            return;
        while (m_model->count() <= target)
            if (CreateNewCaption() < 0)
                return;
        m_model->publish();
    }
    ChngSat(toReported(target));
}

void dclist::MovePre() {
    if (m_model->cursor() > 0)
        ChngSat(toReported(m_model->cursor() - 1));
}

void dclist::SetTextBox() {
    m_editing->focus(Qt::OtherFocusReason);
}

void dclist::OnKosulReturn(const QString &value) {
    if (m_mode == 2)
        setText(m_col, value);
}

void dclist::LockedReturn(bool allow) {
    if (!allow || m_mode == 2)
        return;
    const int row = validCursorRow(m_lockedRow) ? m_lockedRow : std::max(0, m_model->cursor());
    enterEdit(row);
}

void dclist::OperasyonDeleteReturn(bool confirm, int row) {
    const int abs = toAbsolute(row);
    if (!confirm || abs < 0 || abs >= m_model->count())
        return;
    m_model->removeRowAt(abs);
    int cursor = m_model->cursor();
    if (cursor >= m_model->count())
        cursor = m_model->count() > 0 ? m_model->count() - 1 : (cursor >= 0 ? 0 : -1);
    m_model->setCursor(cursor, m_mode);
    if (cursor >= 0 && m_mode != 2)
        loadBuffers(cursor);
    viewport()->update();
}

void dclist::insertRowAtCursor() {
    if (m_model->count() - 1 >= LastRowIndex) {
        QApplication::beep();
        return;
    }
    const int row = std::clamp(m_model->cursor(), 0, m_model->count());
    m_model->insertEmptyRow(row);
    gotoRow(row, true);
}

// Drawing -----------------------------------------------------------------------

void dclist::reyaz() {
    m_model->publish();
    m_model->allChanged();
    viewport()->update();
}

void dclist::satiryaz(int row) {
    m_model->rowChanged(row);
}

void dclist::Tazele() {
    applyLayout();
    horizontalHeader()->setVisible(m_baslikVar);
    reyaz();
}

int dclist::DikeyMaxValue() const {
    return std::max(0, std::max(m_model->count(), m_model->cursor() + 1) - pageRows());
}

void dclist::setDikeyMaxValue(int value) {
    m_messages.information(QStringLiteral("dikey değişti"));
    verticalScrollBar()->setMaximum(value);
}

// Search, sorting, export -------------------------------------------------------

void dclist::FindByName(const QString &key, const QString &text, int startRow) {
    if (startRow >= 0)
        m_searchPos = startRow;
    if (m_searchPos < 0)
        m_searchPos = 0;
    // Edit mode stays, with the typed buffers; only the editor goes. The owner
    // opens it again with AlanDegisti or leaves with ChngMode.
    if (m_mode == 2)
        m_editing->close();
    const int col = m_model->columnByKey(key);
    if (col < 0)
        return;
    const QString wanted = text.trimmed().toUpper();
    for (int r = m_searchPos; r < m_model->count(); ++r) {
        if (DclistModel::cellText(m_model->cell(r, col)).trimmed().toUpper().contains(wanted)) {
            m_searchPos = r + 1;
            gotoRow(r, true);
            return;
        }
    }
    m_messages.information(QStringLiteral("Aranan Kayıt Bulunamadı !"));
}

void dclist::sorting(int col) {
    if (col < 0 || col >= ColumnCount())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<int> moved = m_model->sortRows(col, m_descending);
    const int cursor = m_model->cursor();
    if (m_mode == 2) {
        // The row being typed goes where its row went, with its buffers.
        if (cursor >= 0 && cursor < int(moved.size())) {
            const int row = moved[size_t(cursor)];
            m_model->setCursor(row, 2);
            m_model->setBufferRow(row);
            scrollToRow(row);
        }
    } else if (cursor >= 0) {
        loadBuffers(cursor);
    }
    QApplication::restoreOverrideCursor();
}

void dclist::Sorting2(int col) {
    sorting(col);
    reyaz();
}

void dclist::headerClicked(int col) {
    if (!m_sort)
        return;
    m_descending = !m_descending;
    Sorting2(col);
}

bool dclist::writeExel(const QString &path, const QString &title1, const QString &title2,
                       const QString &title3, const QString &title4, QString *error) const {
    xlsx::Sheet sheet;
    sheet.titles = {title1, title2, title3, title4};
    for (const DclistColumn &c : m_model->columns())
        sheet.columns.push_back({c.type, c.caption, c.decimals, c.grouping});
    sheet.rowCount = m_model->count();
    sheet.cell = [this](int row, int col) { return m_model->cell(row, col); };
    const double size = m_headerFont.pointSizeF();
    sheet.captionFontSize = size > 0 ? size : 10;
    return xlsx::write(path, sheet, error);
}

namespace {

// Where the grid's exports wait for the spreadsheet program: a folder of the
// user's own, emptied of what earlier exports left there a day ago.
QDir exportFolder() {
    QDir folder(
        QDir::temp().filePath(QStringLiteral("koop-tablo-") + qEnvironmentVariable("USER")));
    if (!folder.exists())
        QDir().mkpath(folder.path());
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo &old : folder.entryInfoList({QStringLiteral("*.xlsx")}, QDir::Files))
        if (old.lastModified() < dayAgo)
            QFile::remove(old.filePath());
    return folder;
}

// A file the clerk can find again: "<title> 2026-12-08 10.15.xlsx" among
// the user's documents.
QString keptExportPath(const QString &title) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    QString name = title.simplified();
    for (const QChar c : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'})
        name.replace(c, u' ');
    name = name.simplified().left(60);
    if (name.isEmpty())
        name = QStringLiteral("Liste");
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    return QDir(folder).filePath(name + u' ' + stamp + QStringLiteral(".xlsx"));
}

} // namespace

void dclist::SendExel(const QString &title1, const QString &title2, const QString &title3,
                      const QString &title4) {
    const QString failed = QStringLiteral("Excell Yüklü Değil veya Desteklenmeyen Versiyon");
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTemporaryFile file(exportFolder().filePath(QStringLiteral("liste-XXXXXX.xlsx")));
    file.setAutoRemove(false);
    QString error;
    bool ok = file.open();
    if (!ok)
        error = file.errorString();
    const QString path = file.fileName();
    file.close();
    ok = ok && writeExel(path, title1, title2, title3, title4, &error);
    QApplication::restoreOverrideCursor();
    if (!ok) {
        QFile::remove(path);
        m_messages.information(failed + QStringLiteral("\nTablo dosyası yazılamadı: ") + error);
        return;
    }
    if (m_opener && m_opener(path))
        return;
    // No program took the file: it is kept where the clerk can open it later.
    const QString kept = keptExportPath(title1);
    QFile written(path);
    bool keptWhole = false;
    if (written.open(QIODevice::ReadOnly))
        keptWhole = wholefile::write(kept, written.readAll(), &error);
    else
        error = written.errorString();
    written.close();
    QFile::remove(path);
    if (keptWhole)
        m_messages.information(failed + QStringLiteral("\nTablo dosyası kaydedildi: ") + kept);
    else
        m_messages.information(failed + QStringLiteral("\nTablo dosyası yazılamadı: ") + kept +
                               QStringLiteral(": ") + error);
}

void dclist::setSpreadsheetOpener(std::function<bool(const QString &)> opener) {
    m_opener = std::move(opener);
}

// Fonts, colours, flags ---------------------------------------------------------

void dclist::BaslikFont(const QString &name, bool bold, int size) {
    m_headerFont = QFont(name);
    m_headerFont.setBold(bold);
    if (size > 0)
        m_headerFont.setPointSize(size);
    horizontalHeader()->setFont(m_headerFont);
}

void dclist::TextFont(const QString &name, bool bold, int size) {
    m_rowFont = QFont(name);
    m_rowFont.setBold(bold);
    if (size > 0)
        m_rowFont.setPointSize(size);
    applyRowFont();
}

void dclist::applyRowFont() {
    setFont(m_rowFont);
    horizontalHeader()->setFont(m_headerFont);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(m_rowFont).height() + 4 + m_aralik);
    m_editing->setFont(m_rowFont);
}

void dclist::PassiveTextColor(const QColor &fore, const QColor &back) {
    m_model->setColours(DclistModel::Passive, fore, back);
    // The area below the last row looks like empty rows.
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, back);
    viewport()->setPalette(p);
    viewport()->update();
}

void dclist::ZebraTextColor(const QColor &fore, const QColor &back) {
    m_model->setColours(DclistModel::Zebra, fore, back);
}

void dclist::ActiveTextColor(const QColor &fore, const QColor &back) {
    m_model->setColours(DclistModel::Active, fore, back);
}

void dclist::SelectionTextColor(const QColor &fore, const QColor &back) {
    m_model->setColours(DclistModel::Selection, fore, back);
    m_editing->setColours(fore, back);
}

void dclist::BaslikTextColor(const QColor &fore, const QColor &back) {
    m_model->setColours(DclistModel::Header, fore, back);
    QPalette p = horizontalHeader()->viewport()->palette();
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Window, back);
    horizontalHeader()->viewport()->setPalette(p);
    horizontalHeader()->viewport()->update();
}

void dclist::setBgColor(const QColor &colour) {
    m_model->setHeaderBackground(colour);
    horizontalHeader()->viewport()->update();
}

void dclist::setCellLock(bool on) {
    m_cellLock = on;
    m_editing->setReadOnly(on);
}

void dclist::setBaslikVar(bool on) {
    m_baslikVar = on;
    horizontalHeader()->setVisible(on);
}

void dclist::setScroll(int bars) {
    m_scroll = bars;
    setVerticalScrollBarPolicy(bars == 1 || bars == 3 ? Qt::ScrollBarAsNeeded
                                                      : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(bars == 2 || bars == 3 ? Qt::ScrollBarAsNeeded
                                                        : Qt::ScrollBarAlwaysOff);
}

void dclist::setAralik(int pixels) {
    m_aralik = std::max(0, pixels);
    applyRowFont();
}

// Keyboard and mouse ------------------------------------------------------------

bool dclist::startsEditing(const QKeyEvent *event) const {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::NoModifier)
        return false;
    const int key = event->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return true;
    // The number pad's operators (key codes 106..111).
    return (event->modifiers() & Qt::KeypadModifier) &&
           (key == Qt::Key_Asterisk || key == Qt::Key_Plus || key == Qt::Key_Minus ||
            key == Qt::Key_Period || key == Qt::Key_Slash || key == Qt::Key_Comma);
}

void dclist::keyPressEvent(QKeyEvent *event) {
    if (m_mode == 2) {
        if (m_editing->editor())
            m_editing->send(event);
        else
            emit KeyDown(event->key(), dclistShiftState(event->modifiers()), CurSat());
        return;
    }
    m_model->publish();
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int cursor = m_model->cursor();
    switch (key) {
    case Qt::Key_Up:
        MovePre();
        return;
    case Qt::Key_Down:
        // Only MoveNext appends a row (OtoIncrement); the key stops at the last.
        if (cursor + 1 < m_model->count())
            MoveNext();
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (m_model->count() == 0)
            return;
        const int page = pageRows() * (key == Qt::Key_PageUp ? -1 : 1);
        const int target = std::clamp(std::max(cursor, 0) + page, 0, m_model->count() - 1);
        executeDelayedItemsLayout();
        verticalScrollBar()->setValue(topRow() + page);
        gotoRow(target, true);
        return;
    }
    case Qt::Key_Home:
    case Qt::Key_End:
        if (ctrl) {
            if (m_model->count() > 0)
                gotoRow(key == Qt::Key_Home ? 0 : m_model->count() - 1, true);
        } else {
            horizontalScrollBar()->setValue(key == Qt::Key_Home ? horizontalScrollBar()->minimum()
                                                                : horizontalScrollBar()->maximum());
        }
        return;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    case Qt::Key_Insert:
        insertRowAtCursor();
        return;
    case Qt::Key_Delete:
        emit OperasyonDelete(toReported(cursor));
        return;
    case Qt::Key_E:
        if (ctrl) {
            SendExel(QString(), QString(), QString(), QString());
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_editable) {
            ChngMode(2, toReported(cursor));
            return;
        }
        break;
    default:
        break;
    }
    if (m_editable && startsEditing(event)) {
        ChngMode(2, toReported(cursor));
        // The key that started editing is typed into the first cell.
        if (m_mode == 2 && m_editing->editor()) {
            QKeyEvent typed(event->type(), event->key(), event->modifiers(), event->text());
            m_editing->send(&typed);
        }
        return;
    }
    emit KeyDown(key, dclistShiftState(event->modifiers()), toReported(cursor));
}

void dclist::mousePressEvent(QMouseEvent *event) {
    if (m_mode == 2) {
        event->accept();
        return;
    }
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    // The click moves the cursor in either mode; the mode stays.
    gotoRow(index.row(), true);
    emit MouseDown(int(event->button()), index.column(), toReported(index.row()));
}

void dclist::mouseDoubleClickEvent(QMouseEvent *event) {
    if (m_mode == 2 || !indexAt(event->position().toPoint()).isValid())
        return;
    const int cursor = m_model->cursor();
    if (m_editable)
        ChngMode(2, toReported(cursor));
    else
        emit KeyDown(Qt::Key_Return, 0, toReported(cursor));
}

void dclist::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    if (m_mode == 0 && event->reason() != Qt::MouseFocusReason)
        ChngMode(1, toReported(m_model->cursor()));
    else if (m_mode == 2 && m_editing->editor() && event->reason() != Qt::OtherFocusReason)
        m_editing->focus(event->reason());
}
