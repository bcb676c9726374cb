#include "screens/transfer/tablefile.h"

#include "startup/base/cp1254.h"
#include "startup/base/csv.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <cstdio>
#include <unzip.h>
#include <xlsxwriter.h>

namespace tablefile {

namespace {

// ---- CSV -------------------------------------------------------------------

// How much of the text reads as UTF-8: the characters of more than one byte
// it holds, and the bytes that fit no character.
struct Utf8Scan {
    int multibyte = 0;
    int invalid = 0;
};

// The length of the UTF-8 character at `i`, or 0 when none starts there.
int utf8Length(const QByteArray &b, qsizetype i) {
    const auto at = [&b](qsizetype k) { return static_cast<unsigned char>(b[k]); };
    const unsigned char c = at(i);
    if (c < 0x80)
        return 1;
    int n = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0)
            low = 0xA0;
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > b.size() || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return n;
}

Utf8Scan scanUtf8(const QByteArray &b) {
    Utf8Scan s;
    for (qsizetype i = 0; i < b.size();) {
        const int n = utf8Length(b, i);
        if (n == 0) {
            ++s.invalid;
            ++i;
            continue;
        }
        if (n > 1)
            ++s.multibyte;
        i += n;
    }
    return s;
}

// The field separator: whichever of tab, semicolon and comma the first line
// holds most of, outside quotes; a comma when it holds none.
char separatorOf(const QByteArray &b) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char c = b[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == '\n' || c == '\r')
            break;
        else if (c == '\t')
            ++tabs;
        else if (c == ';')
            ++semicolons;
        else if (c == ',')
            ++commas;
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas)
        return '\t';
    if (semicolons > 0 && semicolons >= commas)
        return ';';
    return ',';
}

QString separatorName(char c) {
    if (c == '\t')
        return QStringLiteral("sekme");
    return u'\'' + QChar::fromLatin1(c) + u'\'';
}

bool isBlank(const Row &row) {
    for (const Cell &c : row.cells)
        if (!c.text.trimmed().isEmpty())
            return false;
    return true;
}

// ---- XLSX ------------------------------------------------------------------

// An .xlsx file's archive, open for reading its parts.
class Archive {
  public:
    explicit Archive(const QString &path) : m_zip(unzOpen64(QFile::encodeName(path).constData())) {}
    ~Archive() {
        if (m_zip)
            unzClose(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;
    bool isOpen() const { return m_zip != nullptr; }

    // The part's bytes; nothing when the archive has no such part or it
    // cannot be unpacked.
    std::optional<QByteArray> part(const QString &name) {
        if (unzLocateFile(m_zip, name.toUtf8().constData(), 1) != UNZ_OK)
            return std::nullopt;
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(m_zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
            info.uncompressed_size > MaxPart || unzOpenCurrentFile(m_zip) != UNZ_OK)
            return std::nullopt;
        QByteArray bytes(qsizetype(info.uncompressed_size), Qt::Uninitialized);
        const int read = unzReadCurrentFile(m_zip, bytes.data(), unsigned(bytes.size()));
        const bool whole = unzCloseCurrentFile(m_zip) == UNZ_OK && read == bytes.size();
        return whole ? std::optional<QByteArray>(bytes) : std::nullopt;
    }

  private:
    // A sheet of a million rows stays well under this.
    static constexpr ZPOS64_T MaxPart = 1024u * 1024u * 1024u;
    unzFile m_zip;
};

// The text of a shared or inline string: its runs, without the phonetic
// readings some spreadsheets add.
QString stringItem(QXmlStreamReader &xml) {
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"r")
            text += stringItem(xml);
        else
            xml.skipCurrentElement();
    }
    return text;
}

// "BC12" -> 54 (zero-based), -1 without letters.
int columnOf(QStringView ref) {
    int column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        column = column * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
    return i == 0 || column > 16384 ? -1 : column - 1;
}

QString xmlFault(const QString &part, const QXmlStreamReader &xml) {
    return QStringLiteral("XLSX dosyası okunamadı (%1, satır %2): %3")
        .arg(part)
        .arg(xml.lineNumber())
        .arg(xml.errorString());
}

struct SheetEntry {
    QString name;
    QString part; // the path of its XML inside the file
};

std::optional<std::vector<SheetEntry>> sheetsOf(Archive &zip, QString *error) {
    const auto workbook = zip.part(QStringLiteral("xl/workbook.xml"));
    const auto rels = zip.part(QStringLiteral("xl/_rels/workbook.xml.rels"));
    if (!workbook || !rels) {
        *error = QStringLiteral("XLSX dosyasında çalışma kitabı bulunamadı.");
        return std::nullopt;
    }
    QHash<QString, QString> targets;
    QXmlStreamReader relXml(*rels);
    while (!relXml.atEnd()) {
        if (relXml.readNext() == QXmlStreamReader::StartElement &&
            relXml.name() == u"Relationship") {
            const auto a = relXml.attributes();
            QString target = a.value(QLatin1String("Target")).toString();
            target = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
            targets.insert(a.value(QLatin1String("Id")).toString(), target);
        }
    }
    std::vector<SheetEntry> sheets;
    QXmlStreamReader xml(*workbook);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
            continue;
        QString id;
        for (const QXmlStreamAttribute &a : xml.attributes())
            if (a.name() == u"id" && a.namespaceUri().contains(u"relationships"))
                id = a.value().toString();
        sheets.push_back(
            {xml.attributes().value(QLatin1String("name")).toString(), targets.value(id)});
    }
    if (relXml.hasError() || xml.hasError()) {
        *error = xmlFault(QStringLiteral("workbook.xml"), relXml.hasError() ? relXml : xml);
        return std::nullopt;
    }
    return sheets;
}

std::optional<QStringList> sharedStrings(Archive &zip, QString *error) {
    QStringList strings;
    const auto bytes = zip.part(QStringLiteral("xl/sharedStrings.xml"));
    if (!bytes)
        return strings; // a sheet of numbers only has none
    QXmlStreamReader xml(*bytes);
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si")
            strings << stringItem(xml);
    if (xml.hasError()) {
        *error = xmlFault(QStringLiteral("sharedStrings.xml"), xml);
        return std::nullopt;
    }
    return strings;
}

// One cell's element, read up to its end.
std::pair<int, Cell> readCell(QXmlStreamReader &xml, int nextColumn, const QStringList &strings) {
    const auto a = xml.attributes();
    const int column =
        a.hasAttribute(QLatin1String("r")) ? columnOf(a.value(QLatin1String("r"))) : nextColumn;
    const QString type = a.value(QLatin1String("t")).toString();
    QString value;
    bool inlineText = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v") {
            value = xml.readElementText();
        } else if (xml.name() == u"is") {
            value = stringItem(xml);
            inlineText = true;
        } else {
            xml.skipCurrentElement();
        }
    }
    Cell cell;
    if (type == u"s") {
        bool ok = false;
        const int index = value.toInt(&ok);
        cell.text = ok && index >= 0 && index < strings.size() ? strings[index] : QString();
    } else {
        cell.text = value;
        cell.number = !inlineText && (type.isEmpty() || type == u"n");
    }
    return {column, cell};
}

} // namespace

Table readCsv(const QByteArray &input) {
    QByteArray bytes = input;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        bytes.remove(0, 3);
    // Windows-1254 text never holds a run of bytes that reads as a UTF-8
    // letter; a file that does is UTF-8, and its stray bytes are faults.
    const Utf8Scan scan = scanUtf8(bytes);
    const bool utf8 = scan.invalid == 0 || bom || scan.multibyte > 0;
    const char separator = separatorOf(bytes);
    Table table;
    table.source = QStringLiteral("CSV, %1, ayraç %2")
                       .arg(utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1254"),
                            separatorName(separator));

    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    int line = 1;
    while (pos < n) {
        Row row;
        row.line = line;
        bool endOfRow = false;
        while (!endOfRow) {
            QByteArray field;
            if (pos < n && bytes[pos] == '"') {
                ++pos;
                bool closed = false;
                while (pos < n) {
                    const char c = bytes[pos];
                    if (c == '"') {
                        if (pos + 1 < n && bytes[pos + 1] == '"') {
                            field += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        closed = true;
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    field += c;
                    ++pos;
                }
                if (!closed)
                    row.fault = QStringLiteral("kapanmamış tırnak");
            }
            while (pos < n && bytes[pos] != separator && bytes[pos] != '\n' && bytes[pos] != '\r')
                field += bytes[pos++];
            Cell cell;
            if (utf8) {
                cell.text = QString::fromUtf8(field);
                // Only a file with stray bytes has a field to look at again.
                if (scan.invalid > 0 && row.fault.isEmpty() && scanUtf8(field).invalid > 0)
                    row.fault = QStringLiteral("geçersiz UTF-8");
            } else {
                cell.text = cp1254::decode(field);
            }
            row.cells.push_back(cell);
            if (pos < n && bytes[pos] == separator) {
                ++pos;
                continue;
            }
            endOfRow = true;
            if (pos < n && bytes[pos] == '\r')
                ++pos;
            if (pos < n && bytes[pos] == '\n')
                ++pos;
            ++line;
        }
        if (!isBlank(row) || !row.fault.isEmpty())
            table.rows.push_back(std::move(row));
    }
    return table;
}

std::optional<Table> readXlsx(const QString &path, const QString &sheet, QString *error) {
    Archive zip(path);
    if (!zip.isOpen()) {
        *error = QStringLiteral("XLSX dosyası açılamadı: ") + path;
        return std::nullopt;
    }
    const auto sheets = sheetsOf(zip, error);
    if (!sheets)
        return std::nullopt;
    const SheetEntry *chosen = nullptr;
    for (const SheetEntry &s : *sheets)
        if (!chosen && (sheet.isEmpty() || s.name.compare(sheet, Qt::CaseInsensitive) == 0))
            chosen = &s;
    if (!chosen) {
        QStringList names;
        for (const SheetEntry &s : *sheets)
            names << s.name;
        *error = sheet.isEmpty() ? QStringLiteral("XLSX dosyasında sayfa yok.")
                                 : QStringLiteral("'%1' adlı sayfa yok. Sayfalar: %2")
                                       .arg(sheet, names.join(QStringLiteral(", ")));
        return std::nullopt;
    }
    const auto strings = sharedStrings(zip, error);
    if (!strings)
        return std::nullopt;
    const auto bytes = zip.part(chosen->part);
    if (!bytes) {
        *error = QStringLiteral("XLSX dosyasında '%1' sayfası okunamadı.").arg(chosen->name);
        return std::nullopt;
    }
    Table table;
    table.source = QStringLiteral("XLSX, sayfa '%1'").arg(chosen->name);
    QXmlStreamReader xml(*bytes);
    int lastRow = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"row")
            continue;
        Row row;
        const auto r = xml.attributes().value(QLatin1String("r"));
        row.line = r.isEmpty() ? lastRow + 1 : r.toInt();
        lastRow = row.line;
        int next = 0;
        while (xml.readNextStartElement()) {
            if (xml.name() != u"c") {
                xml.skipCurrentElement();
                continue;
            }
            auto [column, cell] = readCell(xml, next, *strings);
            if (column < 0)
                continue;
            if (size_t(column) >= row.cells.size())
                row.cells.resize(size_t(column) + 1);
            row.cells[size_t(column)] = cell;
            next = column + 1;
        }
        if (!isBlank(row))
            table.rows.push_back(std::move(row));
    }
    if (xml.hasError()) {
        *error = xmlFault(chosen->part, xml);
        return std::nullopt;
    }
    return table;
}

std::optional<Table> read(const QString &path, const QString &sheet, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Dosya açılamadı: ") + path;
        return std::nullopt;
    }
    // An XLSX file is a zip archive; anything else is taken as CSV.
    if (file.peek(4) == QByteArray("PK\x03\x04", 4)) {
        file.close();
        return readXlsx(path, sheet, error);
    }
    if (!sheet.isEmpty()) {
        *error = QStringLiteral("Sayfa adı yalnız XLSX dosyalarında verilir.");
        return std::nullopt;
    }
    return readCsv(file.readAll());
}

QByteArray csvText(const Output &table) {
    QString out;
    const auto line = [&out](const QStringList &fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                out += u',';
            out += csvField(fields[i]);
        }
        out += u'\n';
    };
    line(table.header);
    for (const auto &row : table.rows) {
        QStringList fields;
        for (const Cell &c : row)
            fields << c.text;
        line(fields);
    }
    return out.toUtf8();
}

bool writeCsv(const QString &path, const Output &table, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csvText(table)) < 0 || !file.commit()) {
        *error = QStringLiteral("Dosya yazılamadı: ") + path;
        return false;
    }
    return true;
}

bool writeXlsx(const QString &path, const Output &table, const QDateTime &created, QString *error) {
    // Written beside the target and moved over it once complete.
    const QString part = path + QStringLiteral(".yaziliyor");
    const QByteArray partName = QFile::encodeName(part);
    lxw_workbook *book = workbook_new(partName.constData());
    if (!book) {
        *error = QStringLiteral("Dosya yazılamadı: ") + path;
        return false;
    }
    lxw_doc_properties properties{};
    properties.created = time_t(created.toSecsSinceEpoch());
    workbook_set_properties(book, &properties);
    lxw_worksheet *sheet = workbook_add_worksheet(book, table.sheet.toUtf8().constData());
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    for (qsizetype c = 0; c < table.header.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), table.header[c].toUtf8().constData(), bold);
    lxw_row_t r = 1;
    for (const auto &row : table.rows) {
        for (size_t c = 0; c < row.size(); ++c) {
            const Cell &cell = row[c];
            if (cell.text.isEmpty())
                continue;
            if (cell.number)
                worksheet_write_number(sheet, r, lxw_col_t(c), cell.text.toDouble(), nullptr);
            else
                worksheet_write_string(sheet, r, lxw_col_t(c), cell.text.toUtf8().constData(),
                                       nullptr);
        }
        ++r;
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR ||
        std::rename(partName.constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(part);
        *error = QStringLiteral("Dosya yazılamadı: ") + path;
        return false;
    }
    return true;
}

} // namespace tablefile
