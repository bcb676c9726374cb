#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Files the program writes for the clerk (exports, prints to a file, the
// copies of a print job): made under a unique temporary name beside the
// target, never through a name another user could have planted there, and
// put in the target's place only once complete, so that a failed write
// leaves an earlier file as it was.
namespace wholefile {

// The bytes as the file `path`; false with the reason in *error.
[[nodiscard]] bool write(const QString &path, const QByteArray &bytes, QString *error);

// For writers that want a path of their own (libxlsxwriter, a PDF printer):
// they write `path()`, and `commit()` puts it in the target's place.
class Staged {
  public:
    explicit Staged(QString target);
    ~Staged(); // a file never committed is removed
    Staged(const Staged &) = delete;
    Staged &operator=(const Staged &) = delete;

    // Makes the temporary file; false with the reason in *error.
    [[nodiscard]] bool open(QString *error);
    QString path() const { return m_temporary; }
    QString target() const { return m_target; }
    // Flushes the written file to the disk and renames it over the target;
    // false with the reason in *error, the temporary file removed.
    [[nodiscard]] bool commit(QString *error);

  private:
    QString m_target;
    QString m_temporary;
};

// Whether `folder` is shared with a group: its set-group-ID bit is on, so
// the files made in it take its group, which goes into *group.
[[nodiscard]] bool sharedWithGroup(const QString &folder, uint *group = nullptr);

// The office's rule for what the program creates: readable and writable by
// the owner alone, or by the folder's group too when the folder is shared
// with a group (its set-group-ID bit: new files take its group). Sets the
// process's file creation mask for `folder` and returns the mode new files
// get; every file and folder the process makes after it follows the rule,
// whatever mask it was started with.
QFileDevice::Permissions useOfficeMask(const QString &folder);
// The mode new files get under the rule last set (the owner's alone before).
QFileDevice::Permissions newFileMode();

} // namespace wholefile
