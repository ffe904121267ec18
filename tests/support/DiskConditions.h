#pragma once
// Two conditions a save must come through, made real for a test rather than
// imitated: a disk that is full, and a folder the user may not add a file to
// although its files stay writable. Each says why when it cannot be had here,
// so the test can skip with the reason.
#include <QString>

namespace testenv {

// A small tmpfs mounted at a fresh folder. It is mounted in a mount namespace
// of the test's thread's own (made once, private), so no other process sees it
// and it cannot outlive the test program. Needs root (or CAP_SYS_ADMIN).
class SmallDisk {
public:
    explicit SmallDisk(int kib);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool IsReady() const { return m_why.isEmpty(); }
    QString WhyNot() const { return m_why; }
    QString Path(const QString& name) const;
    // Writes a filler file so that fewer than `bytes` bytes stay free; false
    // when the disk does not end up that full.
    bool FillLeaving(qint64 bytes);

private:
    QString m_folder;
    QString m_why;
};

// Takes the write permission of `folder` away from the user for the lifetime
// of the object, and gives every file in it to everybody to write, so that a
// new file cannot be made beside them but they can be written in place. Root's
// permissions would ignore the folder's, so a test running as root takes an
// unprivileged user's file-system identity (setfsuid and setfsgid, this thread
// only) for as long. The folder's parent must be the test's own folder (it is opened to
// everybody to pass through).
class ClosedFolder {
public:
    explicit ClosedFolder(const QString& folder);
    ~ClosedFolder();
    ClosedFolder(const ClosedFolder&) = delete;
    ClosedFolder& operator=(const ClosedFolder&) = delete;

    bool IsClosed() const { return m_why.isEmpty(); }
    QString WhyNot() const { return m_why; }

    // Lets everybody read and write a file (one the test writes meanwhile).
    static bool OpenToAll(const QString& file);

private:
    QString m_folder;
    QString m_why;
    int m_previousFsUid = -1;
    int m_previousFsGid = -1;
};

} // namespace testenv
