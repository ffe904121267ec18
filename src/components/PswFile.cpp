// The upgrade-file component (layout in docs/psw-format.md).
#include "components/PswFile.h"

#include "components/LogFile.h"
#include "platform/NativePath.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr char kMagic[4] = {'T', 'P', 'S', 'W'};

DWORD BigEndian(const QByteArray& bytes, int at, int count)
{
    DWORD value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | static_cast<BYTE>(bytes.at(at + i));
    return value;
}

} // namespace

_headerLoghi CHeaderLoghiPsw::GetIesimLogoStruct(int i) const
{
    if (i < 0 || i >= GetNumLoghi())
        return {};
    return m_records[static_cast<size_t>(i)];
}

DWORD CHeaderLoghiPsw::GetSlotCapacity(int i) const
{
    return PswSlotCapacity(GetIesimLogoStruct(i));
}

CHeaderPsw::CHeaderPsw(CLogFile* log)
    : m_pLog(log)
{
}

BOOL CHeaderPsw::Refuse(const QString& path, const QString& why)
{
    m_records.clear();
    m_rawHeader.clear();
    if (m_pLog)
        m_pLog->LogToFile(QStringLiteral("[CHeaderPsw::Init()] %1 is not a usable upgrade file: %2").arg(path, why), 0);
    return FALSE;
}

BOOL CHeaderPsw::Init(const QString& path)
{
    m_records.clear();
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return Refuse(path, QStringLiteral("it cannot be opened"));
    m_nFileSize = file.size();
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize)
        return Refuse(path, QStringLiteral("shorter than its header"));
    if (!header.startsWith(QByteArray(kMagic, 4)))
        return Refuse(path, QStringLiteral("no upgrade-file mark"));

    QByteArray name = header.mid(4, kNameSize);
    const int nul = name.indexOf('\0');
    if (nul >= 0)
        name.truncate(nul);
    m_strName = QString::fromLatin1(name); // trimming is the reader's choice
    m_ucDevice = static_cast<BYTE>(header.at(36));
    const int slotCount = static_cast<BYTE>(header.at(37));
    m_dwLogoArea = BigEndian(header, 38, 4);
    m_ucKey = static_cast<BYTE>(header.at(42));

    const qint64 tableEnd = kHeaderSize + qint64(slotCount) * _headerLoghi::kSize;
    if (tableEnd > m_dwLogoArea)
        return Refuse(path, QStringLiteral("the logo table runs past the logo area"));
    if (m_dwLogoArea > m_nFileSize)
        return Refuse(path, QStringLiteral("the logo area lies past the end of the file"));
    const QByteArray table = file.read(tableEnd - kHeaderSize);
    if (table.size() != tableEnd - kHeaderSize)
        return Refuse(path, QStringLiteral("the logo table is cut short"));

    m_records.resize(static_cast<size_t>(slotCount));
    for (int i = 0; i < slotCount; ++i)
        std::copy_n(table.constData() + i * _headerLoghi::kSize, _headerLoghi::kSize,
                    reinterpret_cast<char*>(m_records[static_cast<size_t>(i)].bytes));
    const QString fault = CheckSlots();
    if (!fault.isEmpty())
        return Refuse(path, fault);
    m_rawHeader = header + table;
    return TRUE;
}

QString CHeaderPsw::CheckSlots() const
{
    struct Span {
        qint64 begin, end;
        int slot;
    };
    std::vector<Span> spans;
    for (int i = 0; i < GetNumLoghi(); ++i) {
        const _headerLoghi& r = m_records[static_cast<size_t>(i)];
        const int w = PswSlotWidth(r), h = PswSlotHeight(r);
        const QString slot = QStringLiteral("slot %1 ").arg(i + 1);
        if (w <= 0 || h <= 0 || w % 8 != 0 || w > kMaxSide || h > kMaxSide)
            return slot + QStringLiteral("has an impossible size %1 x %2").arg(w).arg(h);
        const qint64 capacity = PswSlotCapacity(r);
        if (capacity < qint64(w) * h / 8)
            return slot + QStringLiteral("is smaller than its logo");
        const qint64 begin = qint64(m_dwLogoArea) + PswSlotOffset(r);
        if (begin + capacity > m_nFileSize)
            return slot + QStringLiteral("reaches past the end of the file");
        spans.push_back({begin, begin + capacity, i + 1});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].begin < spans[i - 1].end)
            return QStringLiteral("slots %1 and %2 overlap")
                .arg(std::min(spans[i - 1].slot, spans[i].slot))
                .arg(std::max(spans[i - 1].slot, spans[i].slot));
    return {};
}

CCrittoPswFile::CCrittoPswFile(QObject* owner, const QString& path)
    : m_pOwner(owner)
    , m_strPath(path)
{
}

BOOL CCrittoPswFile::InitCCrittoPswFile(const QString& path)
{
    m_strPath = path;
    m_bReady = false;
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly))
        return FALSE;
    const QByteArray header = file.read(CHeaderPsw::kHeaderSize);
    if (header.size() < CHeaderPsw::kHeaderSize || !header.startsWith(QByteArray(kMagic, 4)))
        return FALSE;
    m_ucKey = static_cast<BYTE>(header.at(42));
    m_bReady = true;
    return TRUE;
}

BOOL CCrittoPswFile::GetScrByteFromPswFile(BYTE* key) const
{
    if (!m_bReady || !key)
        return FALSE;
    *key = m_ucKey;
    return TRUE;
}

BYTE CCrittoPswFile::StreamByte(BYTE key, DWORD position)
{
    DWORD x = DWORD(key) * 0x01000193u + position * 0x9E3779B1u + 0x7F4A7C15u;
    x ^= x >> 16;
    x *= 0x85EBCA6Bu;
    x ^= x >> 13;
    return static_cast<BYTE>(x >> 24);
}

BOOL CCrittoPswFile::Scramble(BYTE* buffer, DWORD offset, DWORD length, BYTE key)
{
    if (!buffer && length > 0)
        return FALSE;
    for (DWORD i = 0; i < length; ++i)
        buffer[i] ^= StreamByte(key, offset + i);
    return TRUE;
}

BOOL CCrittoPswFile::DeCrittoBufferFromPswFile(BYTE* buffer, DWORD offset, DWORD length, BYTE key) const
{
    return Scramble(buffer, offset, length, key);
}

BOOL CCrittoPswFile::CrittoBufferFromPswFile(BYTE* buffer, DWORD offset, DWORD length, BYTE key) const
{
    return Scramble(buffer, offset, length, key);
}
