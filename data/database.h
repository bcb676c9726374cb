#pragma once

#include <QSqlDatabase>
#include <QString>

namespace data {

// One open company database (dalun.dat or xdata.dat). Every connection gets
// the settings that keep a posted row safe and the Turkish collation "tr" and
// Turkish case-folding LIKE, so names sort and search as a Turkish clerk expects.
class Database {
  public:
    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // The file must exist and be a readable database.
    bool open(const QString &filePath);
    // Fails when the file already exists.
    bool create(const QString &filePath);
    void close();

    bool isOpen() const;
    QSqlDatabase &sql() { return m_db; }
    const QString &filePath() const { return m_path; }
    QString lastError() const { return m_lastError; }

    // Runs a statement without bound values (pragmas, DDL, transaction control).
    bool exec(const QString &statement);

    // One writing action: BEGIN IMMEDIATE, waiting while another desk writes.
    bool beginWrite();
    bool commit();
    bool rollback();
    bool inTransaction() const { return m_inTransaction; }

  private:
    bool connect(const QString &filePath);

    QSqlDatabase m_db;
    QString m_connection;
    QString m_path;
    QString m_lastError;
    bool m_inTransaction = false;
};

// Registers the collation "tr" and the Turkish LIKE on a raw SQLite handle
// (the driver's handle, or sqlite3's own); false when the handle is not SQLite.
bool registerTurkishFunctions(QSqlDatabase &db);

// Turkish lower case (I -> ı, İ -> i); the folding of every search.
QString turkishFold(const QString &text);
// Turkish LIKE with % and _ and an optional escape character.
bool turkishLike(const QString &pattern, const QString &value, QChar escape = QChar());

} // namespace data
