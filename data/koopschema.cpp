#include "data/koopschema.h"

#include "data/xbase.h"

namespace data {

namespace {

bool fail(Messages &messages, const QString &text) {
    messages.warning(text);
    return false;
}

struct Step {
    const TableDef &def;
    const char16_t *label;
};

} // namespace

bool createKoopDatabase(const QString &filePath, Messages &messages) {
    Database db;
    if (!DbCreate(db, filePath))
        return fail(messages, filePath + u'\n' + QStringLiteral("Sql Dosyası Yaratılamadı."));
    return createKoopTables(db, messages);
}

bool createKoopTables(Database &db, Messages &messages) {
    // Two desks starting at once on a new server company: the second waits
    // for the first and then finds the tables made.
    const bool locked = db.isServer();
    if (locked && !db.beginWrite())
        return fail(messages, db.filePath() + u'\n' + QStringLiteral("Sql Dosyası Yaratılamadı."));
    const Step steps[] = {{schema::ayar(), u"Ayarlar "},
                          {schema::fiat(), u"Fiyatlar "},
                          {schema::borc(), u"Borclar "}};
    for (const Step &step : steps) {
        if (locked && db.hasTable(step.def.name))
            continue;
        if (!createTable(db, step.def)) {
            db.rollback();
            return fail(messages, QString::fromUtf16(step.label) + u'\n' +
                                      QStringLiteral("Sql Tablosu eklenemedi."));
        }
    }
    if (locked && !db.commit())
        return fail(messages, db.filePath() + u'\n' + QStringLiteral("Sql Dosyası Yaratılamadı."));
    return true;
}

bool createSuiteDatabase(const QString &filePath, QString *error) {
    Database db;
    if (!db.create(filePath)) {
        if (error)
            *error = db.lastError();
        return false;
    }
    return createSuiteTables(db, error);
}

bool createSuiteTables(Database &db, QString *error) {
    if (!db.beginWrite()) {
        if (error)
            *error = db.lastError();
        return false;
    }
    for (const TableDef *def : schema::suiteTables()) {
        if (!createTable(db, *def)) {
            if (error)
                *error = db.lastError();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

} // namespace data
