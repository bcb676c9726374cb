#include "data/storedrow.h"

#include "base/daynumber.h"
#include "data/xbase.h"

#include <QLocale>
#include <QStringEncoder>
#include <algorithm>
#include <charconv>

namespace data {

StoredValue storedText(const QString &text, qsizetype size) {
    if (!isValidUtf16(text))
        return {};
    StoredValue v{StoredValue::Kind::Text, 0, 0, text.isNull() ? QStringLiteral("") : text};
    // Never keep half of a character outside the basic plane.
    if (size > 0 && v.text.size() > size)
        v.text.truncate(v.text.at(size - 1).isHighSurrogate() ? size - 1 : size);
    return v;
}

StoredValue storedDate(const QDate &date) {
    return date.isValid() ? StoredValue::of(dayNumber(date)) : StoredValue();
}

StoredValue storedAmount(const Money &amount) {
    return amount.outOfRange() ? StoredValue() : StoredValue::of(amount.units());
}

StoredValue storedOf(const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return StoredValue::of(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return StoredValue::ofReal(value.toDouble());
    default:
        return {StoredValue::Kind::Text, 0, 0, value.toString()};
    }
}

QVariant toVariant(const StoredValue &value) {
    switch (value.kind) {
    case StoredValue::Kind::Number:
        return qlonglong(value.number);
    case StoredValue::Kind::Real:
        return value.real;
    case StoredValue::Kind::Text:
        return value.text;
    case StoredValue::Kind::Null:
        break;
    }
    return QVariant();
}

namespace {

void appendCopyText(QByteArray &out, const QString &text) {
    const auto special = [](QChar c) {
        return c == u'\\' || c == u'\t' || c == u'\n' || c == u'\r';
    };
    if (std::none_of(text.begin(), text.end(), special)) {
        // Encoded in place: a long COPY is mostly short texts.
        QStringEncoder utf8(QStringEncoder::Utf8);
        const qsizetype at = out.size();
        out.resize(at + utf8.requiredSpace(text.size()));
        out.truncate(utf8.appendToBuffer(out.data() + at, text) - out.data());
        return;
    }
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

void appendCopyLine(QByteArray &out, const StoredValue *values, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0)
            out += '\t';
        const StoredValue &v = values[i];
        switch (v.kind) {
        case StoredValue::Kind::Null:
            out += "\\N";
            break;
        case StoredValue::Kind::Number: {
            char digits[24];
            out.append(digits,
                       std::to_chars(digits, digits + sizeof digits, v.number).ptr - digits);
            break;
        }
        case StoredValue::Kind::Real:
            // As Qt writes a double for the server: the shortest exact form.
            out += QByteArray::number(v.real, 'g', QLocale::FloatingPointShortest);
            break;
        case StoredValue::Kind::Text:
            appendCopyText(out, v.text);
            break;
        }
    }
    out += '\n';
}

} // namespace data
