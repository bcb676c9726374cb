#include "actions/company/newcompany.h"

#include "actions/company/companyinfo.h"
#include "actions/company/demo.h"
#include "base/wholefile.h"
#include "core/companyfolder.h"
#include "data/koopschema.h"
#include "data/schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <QUrlQuery>

namespace newcompany {

namespace {

const char *const CompanyFiles[] = {"xdata.dat", "dalun.dat", "korvane.dat"};

QString quotedName(const QString &name) {
    QString s = name;
    s.replace(u'"', QStringLiteral("\"\""));
    return u'"' + s + u'"';
}

// The two schemas of a new company on a server, made here and dropped
// again unless the whole company is made.
class ServerCompany {
  public:
    explicit ServerCompany(const data::ServerAddress &server) : m_server(server) {}
    ~ServerCompany() {
        if (m_kept)
            return;
        if (m_madeKoop)
            drop(m_koop, m_server.koopSchema);
        if (m_madeData)
            drop(m_data, m_server.dataSchema);
    }
    ServerCompany(const ServerCompany &) = delete;
    ServerCompany &operator=(const ServerCompany &) = delete;

    bool create(Messages &messages) {
        const QString where = m_server.display();
        // A schema that exists is another company's, or the suite's: never touched.
        for (const QString &schema : {m_server.dataSchema, m_server.koopSchema}) {
            data::Database probe;
            if (probe.openServer(m_server, schema, false)) {
                messages.warning(QStringLiteral("Bu sunucuda zaten bir şirket var, "
                                                "dokunulmadı:\n") +
                                 where + u'/' + schema);
                return false;
            }
        }
        m_madeData = m_data.openServer(m_server, m_server.dataSchema, true);
        m_madeKoop = m_madeData && m_koop.openServer(m_server, m_server.koopSchema, true);
        if (!m_madeData || !m_madeKoop) {
            messages.warning(QStringLiteral("Veritabanı sunucusuna bağlanılamadı: ") + where +
                             u'\n' + (m_madeData ? m_koop : m_data).lastError());
            return false;
        }
        QString error;
        if (!data::createSuiteTables(m_data, &error)) {
            messages.warning(QStringLiteral("Şirket dosyası yaratılamadı:\n") + error);
            return false;
        }
        return data::createKoopTables(m_koop, messages);
    }
    void keep() { m_kept = true; }
    data::Database &dataDatabase() { return m_data; }
    data::Database &koopDatabase() { return m_koop; }

  private:
    static void drop(data::Database &db, const QString &schema) {
        QSqlQuery q(db.sql());
        q.exec(QStringLiteral("DROP SCHEMA ") + quotedName(schema) + QStringLiteral(" CASCADE"));
    }

    data::ServerAddress m_server;
    data::Database m_data, m_koop;
    bool m_madeData = false, m_madeKoop = false, m_kept = false;
};

} // namespace

std::optional<data::ServerAddress> parseServer(const QString &text) {
    const QUrl url(QStringLiteral("postgresql://") + text, QUrl::StrictMode);
    const QString database = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || database.isEmpty() || database.contains(u'/') ||
        !url.userName().isEmpty())
        return std::nullopt;
    data::ServerAddress a;
    a.host = url.host();
    a.port = url.port(5432);
    a.database = database;
    const QUrlQuery query(url);
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == u"user")
            a.user = value;
        else if (key == u"xdata")
            a.dataSchema = value;
        else if (key == u"dalun")
            a.koopSchema = value;
        else
            return std::nullopt;
    }
    if (a.dataSchema.isEmpty() || a.koopSchema.isEmpty() || a.dataSchema == a.koopSchema)
        return std::nullopt;
    return a;
}

namespace {

// The company's name, money settings and receipt head, as the set-up screen
// stores them, in the folder being built.
bool setUp(const QString &folder, const Options &options, Messages &messages) {
    if (options.setup.empty())
        return true;
    Session company(messages);
    if (!startup::openCompanyFolder(company, folder))
        return false;
    const companyinfo::Info loaded = companyinfo::load(company);
    companyinfo::Info edited = loaded;
    if (const auto refusal = companyinfo::apply(edited, options.setup)) {
        messages.warning(*refusal);
        return false;
    }
    return companyinfo::save(company, loaded, edited);
}

} // namespace

std::optional<QString> folderNameRefusal(const QString &name) {
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.') ||
        name.startsWith(u'-') || name.contains(u' '))
        return QStringLiteral("Klasör adı tek bir kelime olmalı (boşluksuz, / ve \\ olmadan, . "
                              "ya da - ile başlamadan): ") +
               name;
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> officeDefaults() {
    return {{QStringLiteral("tlonda"), QStringLiteral("2")},
            {QStringLiteral("tlnick"), QStringLiteral("TL")},
            {QStringLiteral("krnick"), QStringLiteral("Kr")}};
}

std::optional<QString> create(const Options &options, Messages &messages) {
    companyinfo::Info check;
    if (const auto refusal = companyinfo::apply(check, options.setup)) {
        messages.warning(*refusal + QStringLiteral("\nŞirket yaratılmadı."));
        return std::nullopt;
    }
    const QFileInfo target(options.folder);
    const QString name = target.fileName();
    if (options.folder.trimmed().isEmpty() || name.isEmpty()) {
        messages.warning(QStringLiteral("Şirket klasörü belirtilmedi."));
        return std::nullopt;
    }
    // The suite starts us with "folder key" on one line, split at the first blank.
    if (name.contains(u' ')) {
        messages.warning(QStringLiteral("Şirket klasörünün adında boşluk olamaz:\n") + name);
        return std::nullopt;
    }
    for (const char *file : CompanyFiles) {
        if (QFileInfo::exists(QDir(target.filePath()).filePath(QString::fromLatin1(file)))) {
            messages.warning(QStringLiteral("Bu klasörde zaten bir şirket var, dokunulmadı:\n") +
                             target.filePath());
            return std::nullopt;
        }
    }
    if (target.exists() && !target.isDir()) {
        messages.warning(QStringLiteral("Şirket klasörü bir dosyanın adı:\n") + target.filePath());
        return std::nullopt;
    }
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) {
        messages.warning(QStringLiteral("Klasör yaratılamadı:\n") + parent);
        return std::nullopt;
    }
    // The new company is the office's alone, or its group's in a shared folder.
    (void)wholefile::useOfficeMask(parent);

    // Built beside the target and moved in whole, so a failure leaves nothing.
    QTemporaryDir work(QDir(parent).filePath(QStringLiteral(".koop-init-XXXXXX")));
    if (!work.isValid()) {
        messages.warning(QStringLiteral("Klasöre yazılamıyor:\n") + parent);
        return std::nullopt;
    }
    QFile korvane(work.filePath(QStringLiteral("korvane.dat")));
    if (!korvane.open(QIODevice::WriteOnly)) {
        messages.warning(QStringLiteral("korvane.dat yaratılamadı."));
        return std::nullopt;
    }
    korvane.close();
    std::optional<ServerCompany> server;
    if (options.server) {
        if (!data::writeServerAddress(korvane.fileName(), *options.server)) {
            messages.warning(QStringLiteral("korvane.dat yaratılamadı."));
            return std::nullopt;
        }
        server.emplace(*options.server);
        if (!server->create(messages))
            return std::nullopt;
    } else {
        QString error;
        if (!data::createSuiteDatabase(work.filePath(QStringLiteral("xdata.dat")), &error)) {
            messages.warning(QStringLiteral("Şirket dosyası yaratılamadı:\n") + error);
            return std::nullopt;
        }
        if (!data::createKoopDatabase(work.filePath(QStringLiteral("dalun.dat")), messages))
            return std::nullopt;
    }

    DemoSummary summary;
    if (options.demo && !fillDemoCompany(work.path(), options.seed, messages, &summary))
        return std::nullopt;
    if (!setUp(work.path(), options, messages))
        return std::nullopt;

    if (!QDir().mkpath(target.absoluteFilePath())) {
        messages.warning(QStringLiteral("Klasör yaratılamadı:\n") + target.absoluteFilePath());
        return std::nullopt;
    }
    const QDir dest(target.absoluteFilePath());
    // Everything the company was built with moves in: the databases, the
    // settings file and, for the demo, the cash box's day file.
    const QStringList files = QDir(work.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &f : files) {
        if (QFileInfo::exists(dest.filePath(f))) {
            messages.warning(QStringLiteral("Bu klasörde zaten bir şirket var, dokunulmadı:\n") +
                             target.filePath());
            return std::nullopt;
        }
    }
    QStringList moved;
    for (const QString &f : files) {
        // SQLite never gives its files to the group: desks of one office
        // sharing the folder must all write them.
        if (!QFile::setPermissions(work.filePath(f), wholefile::newFileMode())) {
            messages.warning(QStringLiteral("Şirket dosyalarının izinleri verilemedi:\n") +
                             work.filePath(f));
            return std::nullopt;
        }
    }
    for (const QString &f : files) {
        if (!QFile::rename(work.filePath(f), dest.filePath(f))) {
            for (const QString &m : moved)
                QFile::rename(dest.filePath(m), work.filePath(m));
            messages.warning(QStringLiteral("Şirket dosyaları yerine taşınamadı:\n") + dest.path());
            return std::nullopt;
        }
        moved << f;
    }
    if (server)
        server->keep();
    QString told = QStringLiteral("Şirket yaratıldı: ") + dest.path();
    if (options.demo)
        told += u'\n' + summary.text();
    return told;
}

namespace {

// Copies every row of one table, ids included so the entry order stays, and
// checks the counts; inside the target's transaction.
bool copyTable(data::Database &from, data::Database &to, const data::TableDef &def,
               QString *error) {
    if (!from.hasTable(def.name))
        return true; // the suite's tables the program never reads may be missing
    const QSqlRecord source = from.sql().record(def.name);
    QStringList columns{QStringLiteral("id")};
    for (int i = 0; i < source.count(); ++i) {
        const QString name = source.fieldName(i);
        if (name == u"id")
            continue;
        if (!def.field(name)) {
            *error = def.name + QStringLiteral(".") + name + QStringLiteral(" sunucuda yok");
            return false;
        }
        columns << quotedName(name);
    }
    QSqlQuery read(from.sql());
    read.setForwardOnly(true);
    QSqlQuery write(to.sql());
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString list = columns.join(u',');
    if (!read.exec(QStringLiteral("SELECT ") + list + QStringLiteral(" FROM ") +
                   quotedName(def.name) + QStringLiteral(" ORDER BY id")) ||
        !write.prepare(QStringLiteral("INSERT INTO ") + quotedName(def.name) + u'(' + list +
                       QStringLiteral(") VALUES (") + marks.join(u',') + u')')) {
        *error = read.lastError().text() + write.lastError().text();
        return false;
    }
    qint64 rows = 0;
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            write.addBindValue(read.value(i));
        if (!write.exec()) {
            *error = def.name + u'\n' + write.lastError().text();
            return false;
        }
        ++rows;
    }
    read.finish();
    QSqlQuery check(to.sql());
    // New rows go on after the copied ones.
    if (!check.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('") + def.name +
                    QStringLiteral("', 'id'), coalesce(max(id), 0) + 1, false), count(*) FROM ") +
                    quotedName(def.name)) ||
        !check.next() || check.value(1).toLongLong() != rows) {
        *error = def.name + QStringLiteral(": satır sayıları tutmuyor");
        return false;
    }
    return true;
}

bool copyDatabase(const QString &file, data::Database &to,
                  const std::vector<const data::TableDef *> &tables, QString *error) {
    data::Database from;
    if (!from.open(file)) {
        *error = file + u'\n' + from.lastError();
        return false;
    }
    // One snapshot of the file, one transaction on the server.
    if (!from.exec(QStringLiteral("BEGIN")) || !to.beginWrite()) {
        *error = from.lastError() + to.lastError();
        return false;
    }
    for (const data::TableDef *def : tables) {
        if (!copyTable(from, to, *def, error)) {
            to.rollback();
            (void)from.exec(QStringLiteral("ROLLBACK")); // a read; the copy's fault is told
            return false;
        }
    }
    (void)from.exec(QStringLiteral("ROLLBACK")); // the read snapshot ends; nothing was written
    if (!to.commit()) {
        *error = to.lastError();
        return false;
    }
    return true;
}

} // namespace

std::optional<QString> copyToServer(const QString &folder, const data::ServerAddress &server,
                                    Messages &messages) {
    const QDir dir(folder);
    const QString korvane = dir.filePath(QStringLiteral("korvane.dat"));
    if (data::readServerAddress(korvane)) {
        messages.warning(QStringLiteral("Bu şirketin verileri zaten sunucuda:\n") + folder);
        return std::nullopt;
    }
    for (const char *file : {"xdata.dat", "dalun.dat"}) {
        if (!QFileInfo(dir.filePath(QString::fromLatin1(file))).isFile()) {
            messages.warning(QStringLiteral("Şirket Dosyaları Bulunamadı."));
            return std::nullopt;
        }
    }
    ServerCompany target(server);
    if (!target.create(messages))
        return std::nullopt;
    QString error;
    std::vector<const data::TableDef *> koopTables{&data::schema::ayar(), &data::schema::fiat(),
                                                   &data::schema::borc()};
    {
        // The records of unused and voided receipt numbers exist once one
        // was made.
        data::Database koop;
        if (koop.open(dir.filePath(QStringLiteral("dalun.dat"))))
            for (const data::TableDef *t : data::schema::madeOnUse())
                if (koop.hasTable(t->name))
                    koopTables.push_back(t);
    }
    if (!copyDatabase(dir.filePath(QStringLiteral("xdata.dat")), target.dataDatabase(),
                      data::schema::suiteTables(), &error) ||
        !copyDatabase(dir.filePath(QStringLiteral("dalun.dat")), target.koopDatabase(), koopTables,
                      &error)) {
        messages.warning(QStringLiteral("Şirket sunucuya aktarılamadı:\n") + error);
        return std::nullopt;
    }
    if (!data::writeServerAddress(korvane, server)) {
        messages.warning(QStringLiteral("korvane.dat yazılamadı."));
        return std::nullopt;
    }
    target.keep();
    return QStringLiteral("Şirket sunucuya aktarıldı: ") + server.display() +
           QStringLiteral("\nxdata.dat ve dalun.dat artık kullanılmıyor.");
}

} // namespace newcompany
