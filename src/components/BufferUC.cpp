#include "components/BufferUC.h"

#include "platform/AtomicFile.h"
#include <algorithm>

CBufferUC::CBufferUC(int size)
    : CBufferUC(size, 0)
{
}

CBufferUC::CBufferUC(int size, BYTE fill)
{
    if (size > 0)
        m_bytes.assign(static_cast<size_t>(size), fill);
}

CBufferUC::CBufferUC(const BYTE* src, int size)
{
    if (src != nullptr && size > 0)
        m_bytes.assign(src, src + size);
}

BOOL CBufferUC::GetByte(int index, BYTE& value) const
{
    if (index < 0 || index >= GetSize())
        return FALSE;
    value = m_bytes[static_cast<size_t>(index)];
    return TRUE;
}

BOOL CBufferUC::SetByte(BYTE value, int index)
{
    if (index < 0 || index >= GetSize())
        return FALSE;
    m_bytes[static_cast<size_t>(index)] = value;
    return TRUE;
}

BOOL CBufferUC::SetBytes(const BYTE* src, int count, int dstOffset)
{
    if (count < 0 || dstOffset < 0 || dstOffset > GetSize() || count > GetSize() - dstOffset)
        return FALSE;
    if (count == 0)
        return TRUE;
    if (src == nullptr)
        return FALSE;
    // memmove semantics: the source may be this buffer's own bytes.
    const std::vector<BYTE> copy(src, src + count);
    std::copy(copy.begin(), copy.end(), m_bytes.begin() + dstOffset);
    return TRUE;
}

BOOL CBufferUC::InitANewBufferSize(int size, BYTE fill)
{
    if (size < 0)
        return FALSE;
    m_bytes.assign(static_cast<size_t>(size), fill);
    return TRUE;
}

CBufferUC CBufferUC::operator+(const CBufferUC& right) const
{
    CBufferUC result(*this);
    result += right;
    return result;
}

CBufferUC& CBufferUC::operator+=(const CBufferUC& right)
{
    // Copy first: right may be *this.
    const std::vector<BYTE> tail = right.m_bytes;
    m_bytes.insert(m_bytes.end(), tail.begin(), tail.end());
    return *this;
}

CBufferUC CBufferUC::operator~() const
{
    CBufferUC result(*this);
    for (BYTE& b : result.m_bytes)
        b = static_cast<BYTE>(~b);
    return result;
}

BOOL CBufferUC::FileFlusOut(const QString& path) const
{
    if (path.isEmpty())
        return FALSE;
    const QByteArray bytes(reinterpret_cast<const char*>(m_bytes.data()), static_cast<qsizetype>(m_bytes.size()));
    return WriteFileAtomically(path, {bytes}) ? TRUE : FALSE;
}
