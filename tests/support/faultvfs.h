#pragma once

// A SQLite VFS over the system's own that fails chosen calls, the way SQLite
// tests itself: from the moment it is armed, the n-th write, sync, lock or read
// fails with the given result code, once or from then on (a full disk stays
// full). Installed as the process's default, it serves every connection
// opened afterwards, Qt's among them.
namespace faultvfs {

enum class Call { Write, Sync, Lock, Read };
constexpr int CallKinds = 4;

void install();
// Counts calls from now on; nothing fails.
void count();
// Fails the n-th call of `call` from now on (1-based) with `code`; when
// `sticky`, every later one too.
void fail(Call call, int n, int code, bool sticky);
// Nothing fails any more; the counts go on.
void off();
// Calls of the kind since the last count() or fail().
int calls(Call call);
// The armed fault has failed a call.
bool fired();

} // namespace faultvfs
