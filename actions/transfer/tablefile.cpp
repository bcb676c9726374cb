#include "actions/transfer/tablefile.h"

#include "base/cp1254.h"
#include "base/csv.h"
#include "base/wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unzip.h>
#include <xlsxwriter.h>

namespace tablefile {

namespace {

// ---- CSV -------------------------------------------------------------------

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

// How many bytes fit no UTF-8 character.
qsizetype invalidUtf8(const QByteArray &b) {
    qsizetype invalid = 0;
    for (qsizetype i = 0; i < b.size();) {
        const int n = utf8Length(b, i);
        invalid += n == 0;
        i += std::max(n, 1);
    }
    return invalid;
}

// Whether the bytes hold a Turkish letter as UTF-8 writes it ("ş" is C5 9F).
// In Windows-1254 these are pairs like "Å" and "Ÿ" that no Turkish text
// has: the file is UTF-8 with a stray byte somewhere, and reading it as
// Windows-1254 would store the letters garbled.
bool holdsUtf8Letter(const QByteArray &b) {
    static const QByteArray letters[] = {"\xC3\x87", "\xC3\x96", "\xC3\x9C", "\xC3\xA7",
                                         "\xC3\xB6", "\xC3\xBC", "\xC4\x9E", "\xC4\x9F",
                                         "\xC4\xB0", "\xC4\xB1", "\xC5\x9E", "\xC5\x9F"};
    return std::any_of(std::begin(letters), std::end(letters),
                       [&b](const QByteArray &l) { return b.contains(l); });
}

// The field separator: whichever of tab, semicolon and comma the first line
// holding any of them holds most of, outside quotes, so that a title line
// above the headings does not decide it; a comma when no line holds any.
char separatorOf(const QByteArray &b) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char c = b[i];
        if (c == '"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if ((c == '\n' || c == '\r') && tabs + semicolons + commas > 0)
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

// A cell holds something to read: text, or the reason it has none.
bool holds(const Cell &c) {
    return !c.text.trimmed().isEmpty() || !c.fault.isEmpty();
}

bool isBlank(const Row &row) {
    return std::none_of(row.cells.begin(), row.cells.end(), holds);
}

// ---- Spreadsheets ----------------------------------------------------------

// How far one part of a spreadsheet may inflate. The sizes the archive
// declares are not trusted: what is inflated is counted, so that a small
// file that unpacks to gigabytes is refused long before it fills the
// memory. A sheet of 20,000 members is a few MB.
constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 SheetLimit = 128 * MiB; // a sheet, or an ODS file's content.xml
constexpr qint64 StringsLimit = 64 * MiB;
constexpr qint64 SmallLimit = 8 * MiB; // workbook, relationships, styles
// What the cells read may take in memory, texts included: a sheet of
// millions of tiny cells is refused as surely as a large one.
constexpr qint64 HeldLimit = 256 * MiB;
// The last column a spreadsheet has (XFD), and the last row LibreOffice has.
constexpr int MaxColumns = 16384;
constexpr qint64 MaxRows = 1 << 24;
// Rich text nested deeper than this is no office's file; it is skipped
// rather than read by ever deeper calls.
constexpr int MaxDepth = 32;
// No field takes more than 50 characters; a cell's text is not grown beyond
// this, as an ODS file can write a thousand blanks in a few bytes.
constexpr qsizetype MaxCellText = 65536;

const QString FormulaFault =
    QStringLiteral("formül; değeri kayıtlı değil — dosyayı kaydedip yeniden deneyin");

// One part of the archive, inflated as the XML reader asks for more, and
// stopped once it has given more than its limit.
class PartDevice : public QIODevice {
  public:
    enum class Fault { None, TooLarge, Damaged };
    PartDevice(unzFile zip, qint64 limit) : m_zip(zip), m_limit(limit) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    ~PartDevice() override {
        if (!m_closed)
            unzCloseCurrentFile(m_zip);
    }
    PartDevice(const PartDevice &) = delete;
    PartDevice &operator=(const PartDevice &) = delete;
    bool isSequential() const override { return true; }
    Fault fault() const { return m_fault; }

  protected:
    qint64 readData(char *data, qint64 maxSize) override {
        if (m_fault != Fault::None)
            return -1;
        if (m_closed)
            return 0;
        const int n = unzReadCurrentFile(m_zip, data, unsigned(std::min<qint64>(maxSize, MiB)));
        if (n == 0) {
            // All of it is out: the checksum says whether it is what was packed.
            m_closed = true;
            if (unzCloseCurrentFile(m_zip) != UNZ_OK)
                m_fault = Fault::Damaged;
            return m_fault == Fault::None ? 0 : -1;
        }
        if (n < 0) {
            m_fault = Fault::Damaged;
            return -1;
        }
        m_inflated += n;
        if (m_inflated > m_limit) {
            m_fault = Fault::TooLarge;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

  private:
    unzFile m_zip;
    qint64 m_limit;
    qint64 m_inflated = 0;
    bool m_closed = false;
    Fault m_fault = Fault::None;
};

// A spreadsheet's archive, open for reading its parts one at a time.
class Archive {
  public:
    Archive(const QString &path, const QString &kind)
        : m_zip(unzOpen64(QFile::encodeName(path).constData())), m_kind(kind) {}
    ~Archive() {
        if (m_zip)
            unzClose(m_zip);
    }
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;
    bool isOpen() const { return m_zip != nullptr; }
    bool has(const QString &name) {
        return unzLocateFile(m_zip, name.toUtf8().constData(), 1) == UNZ_OK;
    }
    // "XLSX" or "ODS", as the messages name the file.
    const QString &kind() const { return m_kind; }
    void setKind(const QString &kind) { m_kind = kind; }

    enum class Read { Done, Missing, Failed };
    // Reads the part through `parse`, as a stream. Missing when the archive
    // has no such part; Failed, with the reason in *error, when it is too
    // large, damaged or no XML.
    Read part(const QString &name, qint64 limit,
              const std::function<void(QXmlStreamReader &)> &parse, QString *error) {
        if (!has(name))
            return Read::Missing;
        if (unzOpenCurrentFile(m_zip) != UNZ_OK) {
            *error = damaged(name);
            return Read::Failed;
        }
        PartDevice device(m_zip, limit);
        QXmlStreamReader xml(&device);
        parse(xml);
        if (device.fault() == PartDevice::Fault::TooLarge)
            *error = tooLarge(name, limit);
        else if (device.fault() == PartDevice::Fault::Damaged)
            *error = damaged(name);
        else if (xml.error() == QXmlStreamReader::CustomError)
            *error = xml.errorString();
        else if (xml.hasError())
            *error = QStringLiteral("%1 dosyası okunamadı (%2, satır %3): %4")
                         .arg(m_kind, name)
                         .arg(xml.lineNumber())
                         .arg(xml.errorString());
        else
            return Read::Done;
        return Read::Failed;
    }
    // A part that is plain text, as the ODS `mimetype` is.
    std::optional<QByteArray> text(const QString &name, qint64 limit) {
        if (!has(name) || unzOpenCurrentFile(m_zip) != UNZ_OK)
            return std::nullopt;
        PartDevice device(m_zip, limit);
        const QByteArray bytes = device.readAll();
        return device.fault() == PartDevice::Fault::None ? std::optional(bytes) : std::nullopt;
    }

  private:
    QString tooLarge(const QString &name, qint64 limit) const {
        return QStringLiteral("%1 dosyasındaki '%2' açıldığında %3 MB'tan büyük; bu kadar "
                              "büyük bir tablo okunmaz.")
            .arg(m_kind, name)
            .arg(limit / MiB);
    }
    QString damaged(const QString &name) const {
        return QStringLiteral("%1 dosyasındaki '%2' bozuk; açılamadı.").arg(m_kind, name);
    }

    unzFile m_zip;
    QString m_kind;
};

// What the table read so far takes in memory; past the limit the reading
// stops with the part named.
class Held {
  public:
    Held(const Archive &zip, const QString &part) : m_zip(zip), m_part(part) {}
    void setPart(const QString &part) { m_part = part; }
    bool add(QXmlStreamReader &xml, qint64 bytes) {
        m_bytes += bytes;
        if (m_bytes <= HeldLimit)
            return true;
        if (!xml.hasError())
            xml.raiseError(QStringLiteral("%1 dosyasındaki '%2' çok fazla hücre tutuyor "
                                          "(bellekte %3 MB'tan fazla); bu kadar büyük bir "
                                          "tablo okunmaz.")
                               .arg(m_zip.kind(), m_part)
                               .arg(HeldLimit / MiB));
        return false;
    }
    // A row, its cells and their texts.
    bool add(QXmlStreamReader &xml, const Row &row) {
        qint64 bytes = qint64(sizeof(Row) + row.cells.size() * sizeof(Cell));
        for (const Cell &c : row.cells)
            bytes += textBytes(c);
        return add(xml, bytes);
    }
    // A text's characters and what its allocation carries besides.
    static qint64 textBytes(const Cell &c) {
        const auto bytes = [](const QString &t) { return t.isEmpty() ? 0 : 32 + 2 * t.size(); };
        return bytes(c.text) + bytes(c.shown);
    }

  private:
    const Archive &m_zip;
    QString m_part;
    qint64 m_bytes = 0;
};

// The row's cells from `column` on, the cell repeated `count` times; a cell
// that holds nothing only moves the column on. What the row takes more is
// added to `held`.
bool place(QXmlStreamReader &xml, Row &row, int *column, const Cell &cell, qint64 count, Held &held,
           bool sharedText = false) {
    const int end = int(std::min<qint64>(*column + count, MaxColumns));
    if (!holds(cell)) {
        *column = end;
        return true;
    }
    const size_t before = row.cells.size();
    if (size_t(end) > before)
        row.cells.resize(size_t(end));
    for (; *column < end; ++*column)
        row.cells[size_t(*column)] = cell;
    return held.add(xml, qint64((row.cells.size() - before) * sizeof(Cell)) +
                             (sharedText ? 0 : Held::textBytes(cell)));
}

// The text of a shared or inline string: its runs, without the phonetic
// readings some spreadsheets add.
QString stringItem(QXmlStreamReader &xml, int depth = 0) {
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"t")
            text += xml.readElementText();
        else if (xml.name() == u"r" && depth < MaxDepth)
            text += stringItem(xml, depth + 1);
        else
            xml.skipCurrentElement();
    }
    return text;
}

// "BC12" -> 54 (zero-based), -1 without letters.
int columnOf(QStringView ref) {
    int column = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i) {
        column = column * 26 + (ref[i].toUpper().unicode() - u'A' + 1);
        if (column > MaxColumns)
            return -1;
    }
    return i == 0 ? -1 : column - 1;
}

// A whole number as a number format of digit places and literals shows it:
// 1 under "0000" is "0001", 42 under "\"Ü-\"000" is "Ü-042". Nothing for a
// value with a fraction, or a format with anything else in it (decimals,
// grouping, dates); those are left to the value itself.
std::optional<QString> shownAs(const QString &value, const QString &format) {
    static const QRegularExpression whole(QStringLiteral("^-?\\d+$"));
    if (!whole.match(value).hasMatch())
        return std::nullopt;
    struct Piece {
        QChar place; // '0' or '#', or null for literal text
        QString text;
    };
    std::vector<Piece> pieces;
    const QString bare = QStringLiteral("$-+/():!^&'~{}<>= ");
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u';')
            break; // the other sections are for negatives, zero and text
        if (c == u'0' || c == u'#') {
            pieces.push_back({c, {}});
        } else if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            if (end < 0)
                return std::nullopt;
            pieces.push_back({{}, format.mid(i + 1, end - i - 1)});
            i = end;
        } else if (c == u'\\' && i + 1 < format.size()) {
            pieces.push_back({{}, QString(format[++i])});
        } else if (c == u'[' && format.mid(i + 1, 1) == u"$") {
            // A locale ("[$-41F]") changes nothing in a whole number.
            const qsizetype end = format.indexOf(u']', i);
            if (end < 0)
                return std::nullopt;
            i = end;
        } else if (bare.contains(c)) {
            pieces.push_back({{}, QString(c)});
        } else {
            return std::nullopt;
        }
    }
    const auto firstPlace = std::find_if(pieces.begin(), pieces.end(),
                                         [](const Piece &p) { return !p.place.isNull(); });
    if (firstPlace == pieces.end())
        return std::nullopt;
    const bool negative = value.startsWith(u'-');
    QString digits = negative ? value.mid(1) : value;
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    // Digits fill the places from the right; the first place takes what is left.
    QString out;
    for (auto p = pieces.rbegin(); p != pieces.rend(); ++p) {
        if (p->place.isNull()) {
            out.prepend(p->text);
        } else if (p.base() - 1 == firstPlace) {
            out.prepend(digits.isEmpty() && p->place == u'0' ? QStringLiteral("0") : digits);
            digits.clear();
        } else if (!digits.isEmpty()) {
            out.prepend(digits.back());
            digits.chop(1);
        } else if (p->place == u'0') {
            out.prepend(u'0');
        }
    }
    return negative ? u'-' + out : out;
}

// ---- XLSX ------------------------------------------------------------------

struct SheetEntry {
    QString name;
    QString part; // the path of its XML inside the file
};

struct Workbook {
    std::vector<SheetEntry> sheets;
    QString strings = QStringLiteral("xl/sharedStrings.xml");
    QString styles = QStringLiteral("xl/styles.xml");
};

std::optional<Workbook> workbookOf(Archive &zip, QString *error) {
    Workbook book;
    QHash<QString, QString> targets;
    const auto rels = zip.part(
        QStringLiteral("xl/_rels/workbook.xml.rels"), SmallLimit,
        [&](QXmlStreamReader &xml) {
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement ||
                    xml.name() != u"Relationship")
                    continue;
                const auto a = xml.attributes();
                QString target = a.value(QLatin1String("Target")).toString();
                target = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
                targets.insert(a.value(QLatin1String("Id")).toString(), target);
                const auto type = a.value(QLatin1String("Type"));
                if (type.endsWith(u"/sharedStrings"))
                    book.strings = target;
                else if (type.endsWith(u"/styles"))
                    book.styles = target;
            }
        },
        error);
    if (rels == Archive::Read::Failed)
        return std::nullopt;
    const auto sheets = zip.part(
        QStringLiteral("xl/workbook.xml"), SmallLimit,
        [&](QXmlStreamReader &xml) {
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"sheet")
                    continue;
                QString id;
                for (const QXmlStreamAttribute &a : xml.attributes())
                    if (a.name() == u"id" && a.namespaceUri().contains(u"relationships"))
                        id = a.value().toString();
                book.sheets.push_back(
                    {xml.attributes().value(QLatin1String("name")).toString(), targets.value(id)});
            }
        },
        error);
    if (sheets == Archive::Read::Failed)
        return std::nullopt;
    if (rels == Archive::Read::Missing || sheets == Archive::Read::Missing) {
        *error = QStringLiteral("XLSX dosyasında çalışma kitabı bulunamadı.");
        return std::nullopt;
    }
    return book;
}

std::optional<QStringList> sharedStrings(Archive &zip, const QString &part, Held &held,
                                         QString *error) {
    QStringList strings;
    const auto read = zip.part(
        part, StringsLimit,
        [&](QXmlStreamReader &xml) {
            while (!xml.atEnd())
                if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
                    strings << stringItem(xml);
                    if (!held.add(xml, qint64(sizeof(QString)) + 32 + 2 * strings.back().size()))
                        break;
                }
        },
        error);
    // A sheet of numbers only has none.
    return read == Archive::Read::Failed ? std::nullopt : std::optional(strings);
}

// The number format of each cell style, by its index; empty for the
// built-in formats, none of which pads a whole number.
std::optional<std::vector<QString>> cellFormats(Archive &zip, const QString &part, QString *error) {
    QHash<int, QString> custom;
    std::vector<int> ids;
    const auto read = zip.part(
        part, SmallLimit,
        [&](QXmlStreamReader &xml) {
            bool inCellXfs = false;
            while (!xml.atEnd()) {
                const auto token = xml.readNext();
                if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs")
                    inCellXfs = false;
                if (token != QXmlStreamReader::StartElement)
                    continue;
                const auto a = xml.attributes();
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                if (xml.name() == u"cellXfs")
                    inCellXfs = true;
                else if (xml.name() == u"numFmt")
                    custom.insert(id, a.value(QLatin1String("formatCode")).toString());
                else if (xml.name() == u"xf" && inCellXfs)
                    ids.push_back(id);
            }
        },
        error);
    if (read == Archive::Read::Failed)
        return std::nullopt;
    std::vector<QString> formats;
    for (const int id : ids)
        formats.push_back(custom.value(id));
    return formats;
}

// One cell's element, read up to its end; `column` is where it goes.
Cell readCell(QXmlStreamReader &xml, int *column, const QStringList &strings,
              const std::vector<QString> &formats, bool *shared) {
    const auto a = xml.attributes();
    if (a.hasAttribute(QLatin1String("r")))
        *column = columnOf(a.value(QLatin1String("r")));
    const QString type = a.value(QLatin1String("t")).toString();
    bool styled = false;
    const size_t style = a.value(QLatin1String("s")).toUInt(&styled);
    QString value;
    bool inlineText = false, valued = false, formula = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"v") {
            value = xml.readElementText();
            valued = true;
        } else if (xml.name() == u"is") {
            value = stringItem(xml);
            inlineText = valued = true;
        } else {
            formula = formula || xml.name() == u"f";
            xml.skipCurrentElement();
        }
    }
    Cell cell;
    *shared = type == u"s";
    // openpyxl writes a formula's number as an empty <v/> until a
    // spreadsheet has calculated it; only a text result may be empty.
    if (formula && (!valued || (value.isEmpty() && type != u"str"))) {
        cell.fault = FormulaFault;
    } else if (*shared) {
        bool ok = false;
        const int index = value.toInt(&ok);
        cell.text = ok && index >= 0 && index < strings.size() ? strings[index] : QString();
    } else {
        cell.text = value;
        cell.number = !inlineText && (type.isEmpty() || type == u"n");
    }
    if (cell.number && styled && style < formats.size() && !formats[style].isEmpty())
        if (const auto shown = shownAs(value, formats[style]); shown && *shown != value)
            cell.shown = *shown;
    return cell;
}

// Why a spreadsheet has no sheet to read: none at all, or none of that name.
QString missingSheet(const QString &kind, const QString &sheet, const QStringList &names) {
    return sheet.isEmpty() ? kind + QStringLiteral(" dosyasında sayfa yok.")
                           : QStringLiteral("'%1' adlı sayfa yok. Sayfalar: %2")
                                 .arg(sheet, names.join(QStringLiteral(", ")));
}

std::optional<Table> readXlsx(Archive &zip, const QString &sheet, QString *error) {
    const auto book = workbookOf(zip, error);
    if (!book)
        return std::nullopt;
    const SheetEntry *chosen = nullptr;
    for (const SheetEntry &s : book->sheets)
        if (!chosen && (sheet.isEmpty() || s.name.compare(sheet, Qt::CaseInsensitive) == 0))
            chosen = &s;
    if (!chosen) {
        QStringList names;
        for (const SheetEntry &s : book->sheets)
            names << s.name;
        *error = missingSheet(QStringLiteral("XLSX"), sheet, names);
        return std::nullopt;
    }
    Held held(zip, book->strings);
    const auto strings = sharedStrings(zip, book->strings, held, error);
    if (!strings)
        return std::nullopt;
    held.setPart(chosen->part);
    const auto formats = cellFormats(zip, book->styles, error);
    if (!formats)
        return std::nullopt;
    Table table;
    table.source = QStringLiteral("XLSX, sayfa '%1'").arg(chosen->name);
    const auto read = zip.part(
        chosen->part, SheetLimit,
        [&](QXmlStreamReader &xml) {
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
                    int column = next;
                    bool shared = false;
                    const Cell cell = readCell(xml, &column, *strings, *formats, &shared);
                    if (column >= 0) {
                        next = column;
                        if (!place(xml, row, &next, cell, 1, held, shared))
                            break;
                    }
                }
                if (!isBlank(row) && held.add(xml, qint64(sizeof(Row))))
                    table.rows.push_back(std::move(row));
            }
        },
        error);
    if (read == Archive::Read::Missing)
        *error = QStringLiteral("XLSX dosyasında '%1' sayfası okunamadı.").arg(chosen->name);
    if (read != Archive::Read::Done)
        return std::nullopt;
    return table;
}

// ---- ODS -------------------------------------------------------------------

const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

// A repeat count as the file gives it; 1 when it gives none.
qint64 repeated(const QXmlStreamAttributes &a, const QString &name) {
    bool ok = false;
    const qint64 n = a.value(TableNs, name).toLongLong(&ok);
    return ok && n > 0 ? n : 1;
}

// A paragraph's text, up to the end of the element: its runs, with the
// spaces, tabs and line breaks it writes as elements; notes are left out.
void paragraphText(QXmlStreamReader &xml, QString *out, int depth = 0) {
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (out->size() < MaxCellText)
                *out += xml.text();
        } else if (token == QXmlStreamReader::EndElement) {
            return;
        } else if (token == QXmlStreamReader::StartElement) {
            const auto name = xml.name();
            if (name == u"s") {
                bool ok = false;
                const int n = xml.attributes().value(TextNs, QStringLiteral("c")).toInt(&ok);
                if (out->size() < MaxCellText)
                    *out += QString(ok ? std::clamp(n, 1, 1000) : 1, u' ');
                xml.skipCurrentElement();
            } else if (name == u"tab" || name == u"line-break") {
                *out += name == u"tab" ? u'\t' : u'\n';
                xml.skipCurrentElement();
            } else if (name == u"annotation" || name == u"note" || depth >= MaxDepth) {
                xml.skipCurrentElement();
            } else {
                paragraphText(xml, out, depth + 1);
            }
        }
    }
}

// One table:table-cell, read up to its end. A number's value is its
// stored one, and what the sheet shows of it is kept beside it.
Cell readOdsCell(QXmlStreamReader &xml) {
    const auto a = xml.attributes();
    const auto type = a.value(OfficeNs, QStringLiteral("value-type"));
    const bool numeric = type == u"float" || type == u"percentage" || type == u"currency";
    const bool formula = a.hasAttribute(TableNs, QStringLiteral("formula"));
    bool valued = false;
    for (const char *v : {"value", "string-value", "boolean-value", "date-value", "time-value"})
        valued = valued || a.hasAttribute(OfficeNs, QString::fromLatin1(v));
    QString shown;
    bool first = true;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"p") {
            xml.skipCurrentElement();
            continue;
        }
        if (!first)
            shown += u'\n';
        first = false;
        paragraphText(xml, &shown);
    }
    Cell cell;
    if (formula && !valued && (numeric || shown.isEmpty())) {
        cell.fault = FormulaFault;
    } else if (numeric && a.hasAttribute(OfficeNs, QStringLiteral("value"))) {
        cell.text = a.value(OfficeNs, QStringLiteral("value")).toString();
        cell.number = true;
        if (shown != cell.text)
            cell.shown = shown;
    } else if (a.hasAttribute(OfficeNs, QStringLiteral("string-value"))) {
        cell.text = a.value(OfficeNs, QStringLiteral("string-value")).toString();
    } else {
        cell.text = shown;
    }
    return cell;
}

// The rows of a table:table or of a group of its rows, up to its end.
void readOdsRows(QXmlStreamReader &xml, Table &table, qint64 *line, Held &held, int depth = 0) {
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name != u"table-row") {
            if ((name == u"table-row-group" || name == u"table-header-rows" ||
                 name == u"table-rows") &&
                depth < MaxDepth)
                readOdsRows(xml, table, line, held, depth + 1);
            else
                xml.skipCurrentElement();
            continue;
        }
        const qint64 repeat = repeated(xml.attributes(), QStringLiteral("number-rows-repeated"));
        Row row;
        int column = 0;
        while (xml.readNextStartElement()) {
            const bool covered = xml.name() == u"covered-table-cell";
            if (!covered && xml.name() != u"table-cell") {
                xml.skipCurrentElement();
                continue;
            }
            const qint64 count =
                repeated(xml.attributes(), QStringLiteral("number-columns-repeated"));
            // A cell a merge covers is empty, as in an XLSX file.
            if (covered)
                xml.skipCurrentElement();
            if (!place(xml, row, &column, covered ? Cell{} : readOdsCell(xml), count, held))
                return;
        }
        // The rows a sheet repeats are each a row of their own; the empty
        // ones after the data are only counted.
        for (qint64 k = 0; k < repeat && !isBlank(row) && *line + k <= MaxRows; ++k) {
            if (k > 0 && !held.add(xml, row))
                return;
            row.line = int(*line + k);
            table.rows.push_back(row);
        }
        *line = std::min(*line + repeat, MaxRows + 1);
    }
}

std::optional<Table> readOds(Archive &zip, const QString &sheet, QString *error) {
    const QString part = QStringLiteral("content.xml");
    Held held(zip, part);
    Table table;
    QStringList names;
    bool found = false;
    const auto read = zip.part(
        part, SheetLimit,
        [&](QXmlStreamReader &xml) {
            while (!xml.atEnd() && !found) {
                if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"table" ||
                    xml.namespaceUri() != TableNs)
                    continue;
                const QString name =
                    xml.attributes().value(TableNs, QStringLiteral("name")).toString();
                names << name;
                if (!sheet.isEmpty() && name.compare(sheet, Qt::CaseInsensitive) != 0) {
                    xml.skipCurrentElement();
                    continue;
                }
                found = true;
                table.source = QStringLiteral("ODS, sayfa '%1'").arg(name);
                qint64 line = 1;
                readOdsRows(xml, table, &line, held);
            }
        },
        error);
    if (read == Archive::Read::Missing)
        *error = QStringLiteral("ODS dosyasında content.xml bulunamadı.");
    if (read != Archive::Read::Done)
        return std::nullopt;
    if (!found) {
        *error = missingSheet(QStringLiteral("ODS"), sheet, names);
        return std::nullopt;
    }
    return table;
}

// An XLSX or ODS file, whichever the archive holds.
std::optional<Table> readSpreadsheet(const QString &path, const QString &sheet, QString *error) {
    Archive zip(path, QStringLiteral("XLSX"));
    if (!zip.isOpen()) {
        *error = QStringLiteral("XLSX ya da ODS dosyası açılamadı: ") + path;
        return std::nullopt;
    }
    if (zip.has(QStringLiteral("xl/workbook.xml")))
        return readXlsx(zip, sheet, error);
    // An OpenDocument file names what it is first; a spreadsheet's sheets
    // are in its content.xml.
    const QByteArray type = zip.text(QStringLiteral("mimetype"), 1024).value_or(QByteArray());
    if (type.startsWith("application/vnd.oasis.opendocument.spreadsheet") ||
        (type.isEmpty() && zip.has(QStringLiteral("content.xml")))) {
        zip.setKind(QStringLiteral("ODS"));
        return readOds(zip, sheet, error);
    }
    *error = type.startsWith("application/vnd.oasis.opendocument.")
                 ? QStringLiteral("Dosya bir OpenDocument tablosu değil: ") +
                       QString::fromUtf8(type).trimmed()
                 : QStringLiteral("XLSX dosyasında çalışma kitabı bulunamadı.");
    return std::nullopt;
}

} // namespace

Table readCsv(const QByteArray &input) {
    QByteArray bytes = input;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        bytes.remove(0, 3);
    // UTF-8 only when the whole file is: Windows-1254 text can hold bytes
    // that read as a UTF-8 character ("Ş’" is DE 92). With a BOM the file
    // says it is UTF-8, and a stray byte is that line's fault.
    const qsizetype invalid = invalidUtf8(bytes);
    const bool utf8 = bom || invalid == 0;
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
                if (invalid > 0 && row.fault.isEmpty() && invalidUtf8(field) > 0)
                    row.fault = QStringLiteral("geçersiz UTF-8");
            } else {
                cell.text = cp1254::decode(field);
                if (row.fault.isEmpty() && holdsUtf8Letter(field))
                    row.fault = QStringLiteral("UTF-8 harfi var, ama dosyanın tamamı UTF-8 değil");
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

std::optional<Table> read(const QString &path, const QString &sheet, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Dosya açılamadı: ") + path;
        return std::nullopt;
    }
    // XLSX and ODS files are zip archives; anything else is taken as CSV.
    if (file.peek(4) == QByteArray("PK\x03\x04", 4)) {
        file.close();
        return readSpreadsheet(path, sheet, error);
    }
    if (!sheet.isEmpty()) {
        *error = QStringLiteral("Sayfa adı yalnız XLSX ve ODS dosyalarında verilir.");
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
    QString why;
    if (!wholefile::write(path, csvText(table), &why)) {
        *error = QStringLiteral("Dosya yazılamadı: ") + path + QStringLiteral(": ") + why;
        return false;
    }
    return true;
}

bool writeXlsx(const QString &path, const Output &table, const QDateTime &created, QString *error) {
    const auto fail = [&](const QString &why) {
        *error = QStringLiteral("Dosya yazılamadı: ") + path + QStringLiteral(": ") + why;
        return false;
    };
    // Written under a name of its own beside the target, moved over it once
    // complete.
    wholefile::Staged staged(path);
    QString why;
    if (!staged.open(&why))
        return fail(why);
    lxw_workbook *book = workbook_new(QFile::encodeName(staged.path()).constData());
    if (!book)
        return fail(QStringLiteral("dosya yaratılamadı"));
    lxw_doc_properties properties{};
    properties.created = time_t(created.toSecsSinceEpoch());
    workbook_set_properties(book, &properties);
    lxw_worksheet *sheet = workbook_add_worksheet(book, table.sheet.toUtf8().constData());
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *amount = workbook_add_format(book);
    format_set_num_format(amount, "#,##0.00");
    lxw_error err = sheet ? LXW_NO_ERROR : LXW_ERROR_MEMORY_MALLOC_FAILED;
    const auto keep = [&err](lxw_error e) {
        if (err == LXW_NO_ERROR)
            err = e;
    };
    // Each column as wide as its widest cell, within reason.
    std::vector<qsizetype> widths(size_t(table.header.size()), 0);
    const auto fit = [&widths](size_t c, qsizetype characters) {
        if (c < widths.size())
            widths[c] = std::max(widths[c], characters);
    };
    for (qsizetype c = 0; sheet && c < table.header.size(); ++c) {
        const QString heading = table.captions.value(c, table.header[c]);
        keep(worksheet_write_string(sheet, 0, lxw_col_t(c), heading.toUtf8().constData(), bold));
        fit(size_t(c), heading.size());
        if (heading != table.header[c])
            keep(worksheet_write_comment(sheet, 0, lxw_col_t(c),
                                         table.header[c].toUtf8().constData()));
    }
    lxw_row_t r = 1;
    for (const auto &row : table.rows) {
        for (size_t c = 0; sheet && c < row.size(); ++c) {
            const Cell &cell = row[c];
            if (cell.text.isEmpty())
                continue;
            const bool isAmount = c < table.amounts.size() && table.amounts[c];
            if (cell.number) {
                // "1.234.567,89": the digits, a mark per three, the kuruş.
                const qsizetype digits = cell.text.section(u'.', 0, 0).remove(u'-').size();
                fit(c, digits + (digits - 1) / 3 + (isAmount ? 3 : 0) + 1);
                keep(worksheet_write_number(sheet, r, lxw_col_t(c), cell.text.toDouble(),
                                            isAmount ? amount : nullptr));
            } else {
                fit(c, cell.text.size());
                keep(worksheet_write_string(sheet, r, lxw_col_t(c), cell.text.toUtf8().constData(),
                                            nullptr));
            }
        }
        ++r;
    }
    for (size_t c = 0; sheet && c < widths.size(); ++c)
        keep(worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                                  std::min<double>(double(widths[c]) + 2, 60), nullptr));
    const lxw_error closed = workbook_close(book);
    if (err != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(err)));
    if (closed != LXW_NO_ERROR)
        return fail(QString::fromUtf8(lxw_strerror(closed)));
    return staged.commit(&why) || fail(why);
}

} // namespace tablefile
