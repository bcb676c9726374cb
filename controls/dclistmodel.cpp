#include "controls/dclistmodel.h"

#include "base/xlsxexport.h"

#include "base/daynumber.h"
#include "controls/entry.h"

#include <QBrush>
#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <numeric>

DclistModel::DclistModel(QObject *parent) : QAbstractTableModel(parent) {
    m_colours[Passive] = {QColor(0, 0, 0), QColor(255, 255, 225)};
    m_colours[Zebra] = {QColor(0, 0, 0), QColor(255, 255, 255)};
    m_colours[Active] = {QColor(255, 255, 255), QColor(255, 0, 0)};
    m_colours[Selection] = {QColor(255, 55, 55), QColor(255, 192, 255)};
    m_colours[Header] = {QColor(0, 50, 0), QColor(200, 255, 200)};
    m_flush.setSingleShot(true);
    m_flush.setInterval(0);
    connect(&m_flush, &QTimer::timeout, this, &DclistModel::publish);
}

int DclistModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_published;
}

int DclistModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columnTotal();
}

QVariant DclistModel::data(const QModelIndex &index, int role) const {
    const int r = index.row(), c = index.column();
    if (r < 0 || c < 0 || c >= columnTotal())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        if (r == m_bufferRow && c < m_buffers.size())
            return displayText(c, m_buffers[c]);
        return displayText(c, cell(r, c));
    }
    case Qt::EditRole:
    case CellRole:
        return cell(r, c);
    case RawRole:
        return rawValue(c, cell(r, c));
    case Qt::TextAlignmentRole:
        switch (column(c).letter()) {
        case u'N':
        case u'B':
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case u'T':
        case u'S':
        case u'V':
        case u'E':
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        ColourRole which = Passive;
        if (r == m_cursor && m_mode == 1)
            which = Active;
        else if (r == m_cursor && m_mode == 2)
            which = Selection;
        else if (m_zebra && r % 2 == 1)
            which = Zebra;
        const ColourPair &p = m_colours[size_t(which)];
        return QBrush(role == Qt::BackgroundRole ? p.back : p.fore);
    }
    default:
        return {};
    }
}

QVariant DclistModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnTotal())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return column(section).caption;
    case Qt::BackgroundRole:
        return QBrush(m_headerBack);
    case Qt::ForegroundRole:
        return QBrush(m_colours[Header].fore);
    default:
        return {};
    }
}

Qt::ItemFlags DclistModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// Columns --------------------------------------------------------------------

void DclistModel::addColumn(const DclistColumn &col) {
    publish();
    beginResetModel();
    m_columns.push_back(col);
    // The row table is re-sized to the new column count; cells are not kept.
    for (Row &row : m_rows)
        row.assign(m_columns.size(), QVariant());
    m_buffers.resize(columnTotal());
    endResetModel();
}

void DclistModel::removeColumns() {
    publish();
    beginResetModel();
    m_columns.clear();
    for (Row &row : m_rows)
        row.clear();
    m_buffers.clear();
    endResetModel();
}

void DclistModel::columnChanged(int c) {
    if (m_published > 0)
        emit dataChanged(index(0, c), index(m_published - 1, c));
    emit headerDataChanged(Qt::Horizontal, c, c);
}

int DclistModel::columnByKey(const QString &key) const {
    const QString k = key.toUpper();
    for (int c = 0; c < columnTotal(); ++c)
        if (m_columns[size_t(c)].key == k)
            return c;
    return -1;
}

// Rows -----------------------------------------------------------------------

QVariant DclistModel::cell(int row, int col) const {
    if (row < 0 || size_t(row) >= m_rows.size() || col < 0)
        return {};
    const Row &r = m_rows[size_t(row)];
    return size_t(col) < r.size() ? r[size_t(col)] : QVariant();
}

DclistModel::Row &DclistModel::storageRow(int row) {
    if (size_t(row) >= m_rows.size())
        m_rows.resize(size_t(row) + 1, Row(m_columns.size()));
    return m_rows[size_t(row)];
}

void DclistModel::setCell(int row, int col, const QVariant &value) {
    if (row < 0 || col < 0 || col >= columnTotal())
        return;
    storageRow(row)[size_t(col)] = value;
    markDirty(row);
}

int DclistModel::appendRow() {
    const int row = m_count++;
    Row &r = storageRow(row);
    std::fill(r.begin(), r.end(), QVariant());
    schedule();
    return row;
}

void DclistModel::countRow(int row) {
    if (row < m_count)
        return;
    storageRow(row);
    m_count = row + 1;
    schedule();
}

void DclistModel::insertEmptyRow(int row) {
    publish();
    row = std::clamp(row, 0, m_count);
    if (m_rows.size() < size_t(row))
        m_rows.resize(size_t(row), Row(m_columns.size()));
    // A new row being edited just past the end is already shown.
    const int shown = std::max(m_count + 1, m_cursor + 1);
    const bool grows = shown > m_published;
    if (grows)
        beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, Row(m_columns.size()));
    ++m_count;
    if (grows) {
        m_published = shown;
        endInsertRows();
    } else {
        markDirty(row);
        markDirty(m_published - 1);
    }
    publish();
}

void DclistModel::removeRowAt(int row) {
    publish();
    if (row < 0 || row >= m_count)
        return;
    const int shown = std::max(m_count - 1, m_cursor + 1);
    const bool shrinks = shown < m_published;
    if (shrinks)
        beginRemoveRows({}, row, row);
    if (size_t(row) < m_rows.size())
        m_rows.erase(m_rows.begin() + row);
    --m_count;
    if (shrinks) {
        m_published = shown;
        endRemoveRows();
    } else {
        markDirty(row);
        markDirty(m_published - 1);
    }
    publish();
}

void DclistModel::clearRows() {
    m_flush.stop();
    beginResetModel();
    m_rows.clear();
    m_count = 0;
    m_published = 0;
    m_dirtyFirst = m_dirtyLast = -1;
    m_bufferRow = -1;
    m_cursor = -1;
    endResetModel();
}

namespace {

// Numbers (and dates, as day numbers) sort before texts; texts in Turkish
// order.
struct SortKey {
    int kind = 0; // 0 number, 1 text
    double number = 0;
    int text = -1;
};

} // namespace

std::vector<int> DclistModel::sortRows(int col, bool descending) {
    if (col < 0 || col >= columnTotal())
        return {};
    publish();
    const int n = std::min(m_count, int(m_rows.size()));
    QCollator collator{QLocale(QLocale::Turkish, QLocale::Turkey)};
    std::vector<SortKey> keys(static_cast<size_t>(n));
    std::vector<QCollatorSortKey> texts;
    for (int r = 0; r < n; ++r) {
        const QVariant raw = rawValue(col, m_rows[size_t(r)][size_t(col)]);
        SortKey &k = keys[size_t(r)];
        switch (raw.metaType().id()) {
        case QMetaType::QDate:
            k.number = double(dayNumber(raw.toDate()));
            break;
        case QMetaType::Bool:
            k.number = raw.toBool() ? -1 : 0;
            break;
        case QMetaType::UnknownType:
            break; // empty: 0
        default:
            if (isNumberValue(raw)) {
                k.number = raw.toDouble();
                break;
            }
            k.kind = 1;
            k.text = int(texts.size());
            texts.push_back(collator.sortKey(raw.toString()));
            break;
        }
    }
    auto less = [&](int a, int b) {
        const SortKey &x = keys[size_t(a)], &y = keys[size_t(b)];
        if (x.kind != y.kind)
            return x.kind < y.kind;
        if (x.kind == 0)
            return x.number < y.number;
        return texts[size_t(x.text)].compare(texts[size_t(y.text)]) < 0;
    };
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // Equal values never move, in either direction.
    if (descending)
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
    else
        std::stable_sort(order.begin(), order.end(), less);

    std::vector<int> moved(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        moved[size_t(order[size_t(i)])] = i;

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int r : order)
        sorted.push_back(std::move(m_rows[size_t(r)]));
    for (size_t r = size_t(n); r < m_rows.size(); ++r)
        sorted.push_back(std::move(m_rows[r]));
    m_rows.swap(sorted);
    // An open editor stays on its row wherever the row goes.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &i : from)
        to << (i.row() < n ? index(moved[size_t(i.row())], i.column()) : i);
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return moved;
}

// Buffers, cursor, colours ---------------------------------------------------

void DclistModel::setBuffer(int col, const QString &text) {
    if (col < 0 || col >= m_buffers.size())
        return;
    m_buffers[col] = text;
    if (m_bufferRow >= 0 && m_bufferRow < m_published)
        emit dataChanged(index(m_bufferRow, col), index(m_bufferRow, col), {Qt::DisplayRole});
}

void DclistModel::setBufferRow(int row) {
    if (row == m_bufferRow)
        return;
    const int old = m_bufferRow;
    m_bufferRow = row;
    rowChanged(old);
    rowChanged(row);
}

void DclistModel::setCursor(int row, int mode) {
    const int oldRow = m_cursor;
    const bool modeChanged = mode != m_mode;
    m_cursor = row;
    m_mode = mode;
    if (shownRows() != m_published)
        publish();
    if (oldRow != row || modeChanged) {
        rowChanged(oldRow);
        rowChanged(row);
    }
}

void DclistModel::setColours(ColourRole role, const QColor &fore, const QColor &back) {
    m_colours[size_t(role)] = {fore, back};
    if (role == Header)
        emit headerDataChanged(Qt::Horizontal, 0, std::max(0, columnTotal() - 1));
    else
        allChanged();
}

void DclistModel::setZebra(bool on) {
    m_zebra = on;
    allChanged();
}

void DclistModel::setHeaderBackground(const QColor &back) {
    m_headerBack = back;
    if (columnTotal() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnTotal() - 1);
}

// Publishing -----------------------------------------------------------------

int DclistModel::shownRows() const {
    return std::max(m_count, m_cursor + 1);
}

void DclistModel::schedule() {
    if (!m_flush.isActive())
        m_flush.start();
}

void DclistModel::markDirty(int row) {
    if (row < 0 || row >= m_published)
        return;
    m_dirtyFirst = m_dirtyFirst < 0 ? row : std::min(m_dirtyFirst, row);
    m_dirtyLast = std::max(m_dirtyLast, row);
    schedule();
}

void DclistModel::publish() {
    m_flush.stop();
    const int shown = shownRows();
    if (shown > m_published) {
        beginInsertRows({}, m_published, shown - 1);
        m_published = shown;
        endInsertRows();
    } else if (shown < m_published) {
        beginRemoveRows({}, shown, m_published - 1);
        m_published = shown;
        endRemoveRows();
    }
    if (m_dirtyFirst >= 0 && columnTotal() > 0) {
        const int last = std::min(m_dirtyLast, m_published - 1);
        if (m_dirtyFirst <= last)
            emit dataChanged(index(m_dirtyFirst, 0), index(last, columnTotal() - 1));
    }
    m_dirtyFirst = m_dirtyLast = -1;
}

void DclistModel::rowChanged(int row) {
    if (row >= 0 && row < m_published && columnTotal() > 0)
        emit dataChanged(index(row, 0), index(row, columnTotal() - 1));
}

void DclistModel::allChanged() {
    if (m_published > 0 && columnTotal() > 0)
        emit dataChanged(index(0, 0), index(m_published - 1, columnTotal() - 1));
}

// Text forms -----------------------------------------------------------------

QString DclistModel::cellText(const QVariant &v) {
    switch (v.metaType().id()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return formatTrDate(v.toDate());
    case QMetaType::QDateTime:
        return formatTrDate(v.toDateTime().date());
    default:
        return v.toString();
    }
}

QString DclistModel::numberText(const QString &text, int col) const {
    if (col < 0 || col >= columnTotal())
        return {};
    const DclistColumn &c = column(col);
    return entry::numberDisplay(QString(text).remove(u','), c.decimals, c.grouping);
}

QString DclistModel::displayText(int col, const QVariant &value) const {
    switch (column(col).letter()) {
    case u'N':
    case u'B':
        return numberText(cellText(value), col);
    case u'T': {
        if (value.metaType().id() == QMetaType::QDate ||
            value.metaType().id() == QMetaType::QDateTime)
            return cellText(value);
        return value.toString();
    }
    case u'V': {
        const QString t = cellText(value);
        return t == u"True"    ? QStringLiteral("Var")
               : t == u"False" ? QStringLiteral("Yok")
                               : QString();
    }
    case u'E': {
        const QString t = cellText(value);
        return t == u"True"    ? QStringLiteral("Evet")
               : t == u"False" ? QStringLiteral("Hayır")
                               : QString();
    }
    default:
        return cellText(value);
    }
}

QVariant DclistModel::rawValue(int col, const QVariant &value) const {
    switch (column(col).letter()) {
    case u'N':
    case u'B': {
        switch (value.metaType().id()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return value.toDouble();
        default:
            return val(cellText(value).remove(u','));
        }
    }
    case u'T': {
        if (value.metaType().id() == QMetaType::QDate)
            return value;
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().date();
        const QString t = value.toString().trimmed();
        if (t.isEmpty())
            return {};
        const QDate d = parseTrDate(t);
        return d.isValid() ? QVariant(d) : QVariant(t);
    }
    default:
        if (value.metaType().id() == QMetaType::QDateTime)
            return value.toDateTime().date();
        return value;
    }
}

double DclistModel::val(const QString &text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok ? v : 0.0;
}
