#pragma once
// The upgrade-file component: the header and logo table of a printer upgrade
// file (.psw) and the scrambling of its logo slots. The layout is written
// down in docs/psw-format.md. Nothing here knows what a logo's bytes mean.
#include "platform/WinTypes.h"

#include <QByteArray>
#include <QString>

#include <vector>

class CLogFile;
class QObject;

// One slot record of the logo table, as stored (see docs/psw-format.md):
// bytes 3-4 width, 5-6 height, 7-9 offset in the logo area, 10-12 capacity.
struct _headerLoghi {
    static constexpr int kSize = 16;
    BYTE bytes[kSize] = {};
};

// The logo table: one record per slot, in file order.
class CHeaderLoghiPsw {
public:
    int GetNumLoghi() const { return static_cast<int>(m_records.size()); }
    // The record of slot i (0-based); an all-zero record for a slot the
    // table does not have.
    _headerLoghi GetIesimLogoStruct(int i) const;
    // The capacity of slot i in bytes (0 for a slot the table does not have).
    DWORD GetSlotCapacity(int i) const;

protected:
    std::vector<_headerLoghi> m_records;
};

// The header of an upgrade file with its logo table. Init checks the whole
// layout against the file's length, so a caller that reads a slot inside its
// capacity never reaches past the end of the file.
class CHeaderPsw : public CHeaderLoghiPsw {
public:
    static constexpr int kHeaderSize = 48;
    static constexpr int kNameSize = 32;
    static constexpr BYTE kNoLogoDevice = 150;
    static constexpr int kMaxSide = 8192;

    explicit CHeaderPsw(CLogFile* log);

    // Reads and checks the file; false (with a log line saying why) when it
    // does not follow the format.
    BOOL Init(const QString& path);

    QString GetNomestampante() const { return m_strName; }
    BYTE GetDeviceCode() const { return m_ucDevice; }
    BYTE GetNumSlots() const { return static_cast<BYTE>(m_records.size()); }
    DWORD GetLogoAreaOffset() const { return m_dwLogoArea; }
    BYTE GetKeyByte() const { return m_ucKey; }
    qint64 GetFileSize() const { return m_nFileSize; }
    // The header and the logo table as they were read, byte for byte: a
    // writer compares the file with them before it writes into it.
    QByteArray GetRawHeader() const { return m_rawHeader; }

private:
    BOOL Refuse(const QString& path, const QString& why);
    QString CheckSlots() const;

    CLogFile* m_pLog;
    QString m_strName;
    BYTE m_ucDevice = 0;
    DWORD m_dwLogoArea = 0;
    BYTE m_ucKey = 0;
    qint64 m_nFileSize = 0;
    QByteArray m_rawHeader;
};

// Scrambles and descrambles slot data in place with the file's key byte.
class CCrittoPswFile {
public:
    CCrittoPswFile(QObject* owner, const QString& path);

    // Reads the key of the file; false when it is not an upgrade file.
    BOOL InitCCrittoPswFile(const QString& path);
    // The key byte; false before a successful InitCCrittoPswFile.
    BOOL GetScrByteFromPswFile(BYTE* key) const;
    // offset is the position of buffer[0] inside the logo area.
    BOOL DeCrittoBufferFromPswFile(BYTE* buffer, DWORD offset, DWORD length, BYTE key) const;
    BOOL CrittoBufferFromPswFile(BYTE* buffer, DWORD offset, DWORD length, BYTE key) const;

    static BYTE StreamByte(BYTE key, DWORD position);

private:
    static BOOL Scramble(BYTE* buffer, DWORD offset, DWORD length, BYTE key);

    QObject* m_pOwner;
    QString m_strPath;
    bool m_bReady = false;
    BYTE m_ucKey = 0;
};

// Big-endian fields of a slot record.
inline int PswSlotWidth(const _headerLoghi& r) { return (r.bytes[3] << 8) | r.bytes[4]; }
inline int PswSlotHeight(const _headerLoghi& r) { return (r.bytes[5] << 8) | r.bytes[6]; }
inline DWORD PswSlotOffset(const _headerLoghi& r)
{
    return (DWORD(r.bytes[7]) << 16) | (DWORD(r.bytes[8]) << 8) | r.bytes[9];
}
inline DWORD PswSlotCapacity(const _headerLoghi& r)
{
    return (DWORD(r.bytes[10]) << 16) | (DWORD(r.bytes[11]) << 8) | r.bytes[12];
}
