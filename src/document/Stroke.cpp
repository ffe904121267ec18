#include "document/Stroke.h"

#include "platform/Surface.h"

#include <QDataStream>
#include <QIODevice>
#include <algorithm>

CStroke::CStroke(UINT penWidth, COLORREF color)
    : m_nPenWidth(penWidth)
    , m_crColor(color)
{
}

bool CStroke::DrawStroke(CSurface& surface) const
{
    if (m_pointArray.empty())
        return true;
    const CPen previous = surface.GetPen();
    surface.SelectPen(static_cast<int>(m_nPenWidth), m_crColor);
    // A one-pixel line leaves out its end point, so a stroke that never left
    // its first point would draw nothing: it is that point. Wider pens draw
    // their round dot by themselves.
    const CPoint& first = m_pointArray.front();
    const bool stayed = std::all_of(m_pointArray.begin(), m_pointArray.end(),
                                    [&first](const CPoint& p) { return p == first; });
    if (stayed && m_nPenWidth <= 1)
        surface.SetPixel(first, m_crColor);
    surface.MoveTo(m_pointArray.front().x, m_pointArray.front().y);
    for (size_t i = 1; i < m_pointArray.size(); ++i)
        surface.LineTo(m_pointArray[i].x, m_pointArray[i].y);
    surface.SelectPen(previous);
    return true;
}

void CStroke::FinishStroke()
{
    if (m_pointArray.empty()) {
        m_rectBounding = CRect();
        return;
    }
    CRect r(m_pointArray.front().x, m_pointArray.front().y, m_pointArray.front().x, m_pointArray.front().y);
    for (const CPoint& p : m_pointArray) {
        r.left = std::min(r.left, p.x);
        r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y);
        r.bottom = std::max(r.bottom, p.y);
    }
    const int w = static_cast<int>(m_nPenWidth);
    r.InflateRect(2 * w, -2 * w);
    m_rectBounding = r;
}

QByteArray CStroke::Serialize() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << qint32(m_rectBounding.left) << qint32(m_rectBounding.top) << qint32(m_rectBounding.right)
        << qint32(m_rectBounding.bottom);
    out << quint16(m_nPenWidth) << quint32(m_crColor);
    const auto count = static_cast<quint32>(m_pointArray.size());
    if (count < 0xFFFF) {
        out << quint16(count);
    } else {
        out << quint16(0xFFFF) << count;
    }
    for (const CPoint& p : m_pointArray)
        out << qint32(p.x) << qint32(p.y);
    return bytes;
}

bool CStroke::Deserialize(const QByteArray& bytes, CStroke& out)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    qint32 l = 0, t = 0, r = 0, b = 0;
    quint16 width = 0, count16 = 0;
    quint32 color = 0;
    in >> l >> t >> r >> b >> width >> color >> count16;
    quint32 count = count16;
    if (count16 == 0xFFFF)
        in >> count;
    if (in.status() != QDataStream::Ok)
        return false;
    // Every point takes 8 bytes: refuse a count the remaining bytes cannot hold.
    const qint64 remaining = bytes.size() - in.device()->pos();
    if (static_cast<qint64>(count) * 8 > remaining)
        return false;
    CStroke stroke(width, color);
    stroke.m_rectBounding = CRect(l, t, r, b);
    stroke.m_pointArray.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        qint32 x = 0, y = 0;
        in >> x >> y;
        stroke.m_pointArray.push_back(CPoint(x, y));
    }
    if (in.status() != QDataStream::Ok)
        return false;
    out = std::move(stroke);
    return true;
}
