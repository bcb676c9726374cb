#pragma once

#include <QString>

namespace data {

enum class Engine { SQLite, PostgreSQL };

// Why a statement failed, in the terms the clerk is told. Refused: the
// engine would not take this one row or query (a constraint, a text it
// cannot hold) and is otherwise well. Every other kind is a failure of the
// engine, the disk or a lock that ends the action under way.
enum class Failure { None, Refused, Busy, DiskFull, DiskError, NoPermission, Damaged, Lost };

// The kind of a failed statement's native error code: SQLite's result code
// (extended or primary) or a server's SQLSTATE.
Failure classifyFailure(Engine engine, const QString &nativeCode);
// The clerk's words for a failure that ended an action, a line or two.
QString failureText(Failure failure);

} // namespace data
