#include "base/xlsxexport.h"

#include "base/daynumber.h"
#include "base/wholefile.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <map>
#include <xlsxwriter.h>

bool isNumberValue(const QVariant &v) {
    switch (v.metaType().id()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

namespace xlsx {
namespace {

QDate asDate(const QVariant &v) {
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate();
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    case QMetaType::QString:
        return parseTrDate(v.toString().trimmed());
    default:
        return {};
    }
}

// Excel's serial dates start in 1900.
bool excelDate(const QDate &d, lxw_datetime *out) {
    if (!d.isValid() || d.year() < 1900 || d.year() > 9999)
        return false;
    *out = lxw_datetime{d.year(), d.month(), d.day(), 0, 0, 0.0};
    return true;
}

// A tab name a spreadsheet takes: at most 31 characters, none of []:*?/\.
QString tabName(const Sheet &sheet) {
    QString name = sheet.name.isEmpty() ? sheet.titles[0] : sheet.name;
    for (const QChar c : {u'[', u']', u':', u'*', u'?', u'/', u'\\'})
        name.replace(c, u' ');
    name = name.simplified().left(31).trimmed();
    return name.isEmpty() ? QStringLiteral("Liste") : name;
}

class Writer {
  public:
    Writer(lxw_workbook *book, lxw_worksheet *sheet) : m_book(book), m_sheet(sheet) {}

    // Column widths in characters, as wide as the longest text written.
    void fit(int col, qsizetype characters) {
        if (col >= 0 && col < 16384 && characters > m_widths[col])
            m_widths[col] = characters;
    }
    lxw_error setWidths() {
        lxw_error err = LXW_NO_ERROR;
        for (const auto &[col, characters] : m_widths) {
            const double width = std::min<double>(double(characters) + 2, 60);
            const lxw_error e =
                worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), width, nullptr);
            if (err == LXW_NO_ERROR)
                err = e;
        }
        return err;
    }

    lxw_format *bold(double size = 0) {
        lxw_format *&f = m_bold[size];
        if (!f) {
            f = workbook_add_format(m_book);
            format_set_bold(f);
            if (size > 0)
                format_set_font_size(f, size);
        }
        return f;
    }
    lxw_format *dateFormat() {
        if (!m_date) {
            m_date = workbook_add_format(m_book);
            format_set_num_format(m_date, "dd.mm.yyyy");
        }
        return m_date;
    }
    lxw_format *numberFormat(int decimals, int grouping) {
        decimals = qBound(0, decimals, 10);
        lxw_format *&f = m_numbers[{decimals, grouping == 3}];
        if (!f) {
            QByteArray pattern = grouping == 3 ? "#,##0" : "0";
            if (decimals > 0)
                pattern += '.' + QByteArray(decimals, '0');
            f = workbook_add_format(m_book);
            format_set_num_format(f, pattern.constData());
        }
        return f;
    }

    lxw_error text(int row, int col, const QString &s, lxw_format *format = nullptr) {
        if (s.isEmpty())
            return LXW_NO_ERROR;
        // Titles above the captions run over their neighbours; they set no width.
        if (row >= 3)
            fit(col, s.size());
        return worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col),
                                      s.toUtf8().constData(), format);
    }
    lxw_error number(int row, int col, double v, lxw_format *format = nullptr, int decimals = 0) {
        // "-1.234.567,89": the digits, a mark per three and the decimals.
        const qsizetype digits = QString::number(qint64(std::abs(v))).size();
        fit(col, digits + digits / 3 + (decimals > 0 ? decimals + 1 : 0) + (v < 0 ? 1 : 0));
        return worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), v, format);
    }
    lxw_error date(int row, int col, const QDate &d) {
        lxw_datetime dt;
        if (!excelDate(d, &dt))
            return LXW_NO_ERROR;
        fit(col, 10); // dd.mm.yyyy, never shown as ####
        return worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(col), &dt, dateFormat());
    }
    // A value as the grid holds it.
    lxw_error value(int row, int col, const QVariant &v) {
        if (isNumberValue(v))
            return number(row, col, v.toDouble());
        switch (v.metaType().id()) {
        case QMetaType::Bool:
            return worksheet_write_boolean(m_sheet, lxw_row_t(row), lxw_col_t(col), v.toBool(),
                                           nullptr);
        case QMetaType::QDate:
        case QMetaType::QDateTime:
            return date(row, col, asDate(v));
        default:
            return text(row, col, v.toString());
        }
    }

  private:
    lxw_workbook *m_book;
    lxw_worksheet *m_sheet;
    std::map<int, qsizetype> m_widths;
    std::map<double, lxw_format *> m_bold;
    std::map<std::pair<int, bool>, lxw_format *> m_numbers;
    lxw_format *m_date = nullptr;
};

} // namespace

bool write(const QString &path, const Sheet &sheet, QString *error) {
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    wholefile::Staged staged(path);
    QString why;
    if (!staged.open(&why))
        return fail(why);
    lxw_workbook *book = workbook_new(QFile::encodeName(staged.path()).constData());
    if (!book)
        return fail(QStringLiteral("dosya yaratılamadı"));
    lxw_worksheet *ws = workbook_add_worksheet(book, tabName(sheet).toUtf8().constData());
    if (!ws) {
        workbook_close(book);
        return fail(QStringLiteral("cannot add a worksheet"));
    }
    Writer w(book, ws);
    lxw_error err = LXW_NO_ERROR;
    auto keep = [&err](lxw_error e) {
        if (err == LXW_NO_ERROR)
            err = e;
    };

    keep(w.text(0, 0, sheet.titles[0], w.bold()));
    const QDate titleDate = parseTrDate(sheet.titles[1].trimmed());
    if (titleDate.isValid())
        keep(w.date(1, 0, titleDate));
    else
        keep(w.text(1, 0, sheet.titles[1]));
    keep(w.text(2, 0, sheet.titles[2]));
    const int columns = int(sheet.columns.size());
    if (columns > 0)
        keep(w.text(2, columns - 1, sheet.titles[3]));

    for (int c = 0; c < columns; ++c)
        keep(w.text(3, c, sheet.columns[size_t(c)].caption, w.bold(sheet.captionFontSize)));

    for (int r = 0; r < sheet.rowCount && err == LXW_NO_ERROR; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Column &col = sheet.columns[size_t(c)];
            const QVariant v = sheet.cell(r, c);
            const int row = r + 4;
            // An amount keeps its kuruş in view even where the grid shows none.
            const int decimals = col.grouping == 3 ? std::max(col.decimals, 2) : col.decimals;
            switch (col.type.toUpper().unicode()) {
            case u'N':
            case u'B': {
                if (isNumberValue(v)) {
                    keep(w.number(row, c, v.toDouble(), w.numberFormat(decimals, col.grouping),
                                  decimals));
                    break;
                }
                const QString s = v.toString().trimmed();
                bool ok = false;
                const double d = QLocale::c().toDouble(QString(s).remove(u','), &ok);
                if (ok)
                    keep(w.number(row, c, d, w.numberFormat(decimals, col.grouping), decimals));
                else
                    keep(w.text(row, c, s));
                break;
            }
            case u'T':
                keep(w.date(row, c, asDate(v)));
                break;
            default:
                keep(w.value(row, c, v));
                break;
            }
        }
    }

    keep(w.setWidths());
    const lxw_error closed = workbook_close(book);
    if (err != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(err)));
    if (closed != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(closed)));
    return staged.commit(&why) || fail(why);
}

} // namespace xlsx
