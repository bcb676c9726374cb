#include "support/faultvfs.h"

#include <sqlite3.h>

namespace faultvfs {
namespace {

struct Armed {
    bool on = false;
    Call call = Call::Write;
    int n = 0;
    int code = SQLITE_OK;
    bool sticky = false;
    int counts[CallKinds] = {};
    bool fired = false;
} g;

sqlite3_vfs *g_real = nullptr;
sqlite3_vfs g_vfs;

struct File {
    sqlite3_file base;
    sqlite3_file *real;
};

sqlite3_file *real(sqlite3_file *f) {
    return reinterpret_cast<File *>(f)->real;
}
const sqlite3_io_methods &io(sqlite3_file *f) {
    return *real(f)->pMethods;
}

int check(Call call) {
    const int k = ++g.counts[int(call)];
    if (!g.on || call != g.call || (k != g.n && !(g.sticky && k > g.n)))
        return SQLITE_OK;
    g.fired = true;
    return g.code;
}

int xClose(sqlite3_file *f) {
    return io(f).xClose(real(f));
}
int xRead(sqlite3_file *f, void *p, int n, sqlite3_int64 at) {
    const int rc = check(Call::Read);
    return rc != SQLITE_OK ? rc : io(f).xRead(real(f), p, n, at);
}
int xWrite(sqlite3_file *f, const void *p, int n, sqlite3_int64 at) {
    const int rc = check(Call::Write);
    return rc != SQLITE_OK ? rc : io(f).xWrite(real(f), p, n, at);
}
int xTruncate(sqlite3_file *f, sqlite3_int64 size) {
    const int rc = check(Call::Write);
    return rc != SQLITE_OK ? rc : io(f).xTruncate(real(f), size);
}
int xSync(sqlite3_file *f, int flags) {
    const int rc = check(Call::Sync);
    return rc != SQLITE_OK ? rc : io(f).xSync(real(f), flags);
}
int xFileSize(sqlite3_file *f, sqlite3_int64 *size) {
    return io(f).xFileSize(real(f), size);
}
int xLock(sqlite3_file *f, int level) {
    // Only the locks a writer takes; every reader takes a shared one.
    const int rc = level > SQLITE_LOCK_SHARED ? check(Call::Lock) : SQLITE_OK;
    return rc != SQLITE_OK ? rc : io(f).xLock(real(f), level);
}
int xUnlock(sqlite3_file *f, int level) {
    return io(f).xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file *f, int *out) {
    return io(f).xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file *f, int op, void *arg) {
    return io(f).xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file *f) {
    return io(f).xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file *f) {
    return io(f).xDeviceCharacteristics(real(f));
}
int xShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out) {
    return io(f).xShmMap(real(f), region, size, extend, out);
}
int xShmLock(sqlite3_file *f, int offset, int n, int flags) {
    // In WAL mode the write lock is an exclusive lock of the shared memory.
    const bool writer = (flags & SQLITE_SHM_LOCK) && (flags & SQLITE_SHM_EXCLUSIVE);
    const int rc = writer ? check(Call::Lock) : SQLITE_OK;
    return rc != SQLITE_OK ? rc : io(f).xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file *f) {
    io(f).xShmBarrier(real(f));
}
int xShmUnmap(sqlite3_file *f, int deleteFlag) {
    return io(f).xShmUnmap(real(f), deleteFlag);
}

// Memory-mapped reads stay off: every page then goes through xRead.
const sqlite3_io_methods g_methods = {2,
                                      xClose,
                                      xRead,
                                      xWrite,
                                      xTruncate,
                                      xSync,
                                      xFileSize,
                                      xLock,
                                      xUnlock,
                                      xCheckReservedLock,
                                      xFileControl,
                                      xSectorSize,
                                      xDeviceCharacteristics,
                                      xShmMap,
                                      xShmLock,
                                      xShmBarrier,
                                      xShmUnmap,
                                      nullptr,
                                      nullptr};

int xOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *f, int flags, int *outFlags) {
    auto *file = reinterpret_cast<File *>(f);
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    const int rc = g_real->xOpen(g_real, name, file->real, flags, outFlags);
    file->base.pMethods = rc == SQLITE_OK && file->real->pMethods ? &g_methods : nullptr;
    return rc;
}
int xDelete(sqlite3_vfs *, const char *name, int syncDir) {
    return g_real->xDelete(g_real, name, syncDir);
}
int xAccess(sqlite3_vfs *, const char *name, int flags, int *out) {
    return g_real->xAccess(g_real, name, flags, out);
}
int xFullPathname(sqlite3_vfs *, const char *name, int n, char *out) {
    return g_real->xFullPathname(g_real, name, n, out);
}
void *xDlOpen(sqlite3_vfs *, const char *name) {
    return g_real->xDlOpen(g_real, name);
}
void xDlError(sqlite3_vfs *, int n, char *out) {
    g_real->xDlError(g_real, n, out);
}
void (*xDlSym(sqlite3_vfs *, void *lib, const char *symbol))(void) {
    return g_real->xDlSym(g_real, lib, symbol);
}
void xDlClose(sqlite3_vfs *, void *lib) {
    g_real->xDlClose(g_real, lib);
}
int xRandomness(sqlite3_vfs *, int n, char *out) {
    return g_real->xRandomness(g_real, n, out);
}
int xSleep(sqlite3_vfs *, int us) {
    return g_real->xSleep(g_real, us);
}
int xCurrentTime(sqlite3_vfs *, double *out) {
    return g_real->xCurrentTime(g_real, out);
}
int xGetLastError(sqlite3_vfs *, int n, char *out) {
    return g_real->xGetLastError ? g_real->xGetLastError(g_real, n, out) : 0;
}
int xCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *out) {
    return g_real->xCurrentTimeInt64(g_real, out);
}

void arm(bool on, Call call, int n, int code, bool sticky) {
    g.on = on;
    g.call = call;
    g.n = n;
    g.code = code;
    g.sticky = sticky;
    g.fired = false;
    for (int &c : g.counts)
        c = 0;
}

} // namespace

void install() {
    if (g_real)
        return;
    g_real = sqlite3_vfs_find(nullptr);
    g_vfs = sqlite3_vfs{};
    g_vfs.iVersion = 2;
    g_vfs.szOsFile = int(sizeof(File)) + g_real->szOsFile;
    g_vfs.mxPathname = g_real->mxPathname;
    g_vfs.zName = "koop-fault";
    g_vfs.xOpen = xOpen;
    g_vfs.xDelete = xDelete;
    g_vfs.xAccess = xAccess;
    g_vfs.xFullPathname = xFullPathname;
    g_vfs.xDlOpen = xDlOpen;
    g_vfs.xDlError = xDlError;
    g_vfs.xDlSym = xDlSym;
    g_vfs.xDlClose = xDlClose;
    g_vfs.xRandomness = xRandomness;
    g_vfs.xSleep = xSleep;
    g_vfs.xCurrentTime = xCurrentTime;
    g_vfs.xGetLastError = xGetLastError;
    g_vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
    sqlite3_vfs_register(&g_vfs, 1);
}

void count() {
    arm(false, Call::Write, 0, SQLITE_OK, false);
}

void fail(Call call, int n, int code, bool sticky) {
    arm(true, call, n, code, sticky);
}

void off() {
    g.on = false;
}

int calls(Call call) {
    return g.counts[int(call)];
}

bool fired() {
    return g.fired;
}

} // namespace faultvfs
