#pragma once
// The program's owned byte array: rasters, headers, command strings and whole
// transfer streams move between subsystems as copies of it.
#include "platform/WinTypes.h"

#include <QString>
#include <vector>

class CBufferUC {
public:
    CBufferUC() = default;
    // A negative size gives an empty buffer: sizes come from arithmetic on
    // printer values, and a wrap-around must not turn into a huge allocation.
    explicit CBufferUC(int size);
    CBufferUC(int size, BYTE fill);
    CBufferUC(const BYTE* src, int size);
    CBufferUC(const CBufferUC&) = default;
    CBufferUC(CBufferUC&&) noexcept = default;
    CBufferUC& operator=(const CBufferUC&) = default;
    CBufferUC& operator=(CBufferUC&&) noexcept = default;
    ~CBufferUC() = default;

    int GetSize() const { return static_cast<int>(m_bytes.size()); }
    BOOL GetByte(int index, BYTE& value) const;
    BOOL SetByte(BYTE value, int index);
    // Copies count bytes to dstOffset; refuses (and changes nothing) when they
    // would not fit entirely.
    BOOL SetBytes(const BYTE* src, int count, int dstOffset);
    // Replaces the contents; a negative size is refused and keeps the old bytes.
    BOOL InitANewBufferSize(int size, BYTE fill = 0);

    // Valid until the buffer changes; nullptr for an empty buffer.
    BYTE* GetpBuf() { return m_bytes.empty() ? nullptr : m_bytes.data(); }
    const BYTE* GetpBuf() const { return m_bytes.empty() ? nullptr : m_bytes.data(); }
    BYTE* Get_m_pucBuffer() { return GetpBuf(); }
    const BYTE* Get_m_pucBuffer() const { return GetpBuf(); }

    CBufferUC operator+(const CBufferUC& right) const;
    CBufferUC& operator+=(const CBufferUC& right);
    CBufferUC operator~() const;
    bool operator==(const CBufferUC& other) const = default;

    // Writes all bytes to path through a temporary file, so a failed write
    // never leaves a truncated file behind.
    BOOL FileFlusOut(const QString& path) const;

    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};
