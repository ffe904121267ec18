#include "frame/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <array>

namespace {

// Larger than any screen arrangement, small enough that a window of this size
// cannot exhaust memory.
constexpr long long kMaxCoordinate = 32767;
constexpr long long kMaxExtent = 16384;

std::optional<long long> ParseNumber(const QString& field)
{
    bool ok = false;
    const long long value = field.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

bool InRange(long long v, long long low, long long high)
{
    return v >= low && v <= high;
}

bool IsSaneNormalRect(long long left, long long top, long long right, long long bottom)
{
    for (long long v : {left, top, right, bottom})
        if (!InRange(v, -kMaxCoordinate, kMaxCoordinate))
            return false;
    return InRange(right - left, 1, kMaxExtent) && InRange(bottom - top, 1, kMaxExtent);
}

} // namespace

std::optional<CWindowPlacement> ParseWindowPlacement(const QString& text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (text.trimmed().isEmpty() || fields.size() != 10)
        return std::nullopt;
    std::array<long long, 10> v{};
    for (int i = 0; i < 10; ++i) {
        const std::optional<long long> n = ParseNumber(fields.at(i));
        if (!n)
            return std::nullopt;
        v[static_cast<size_t>(i)] = *n;
    }
    if (!InRange(v[0], 0, 0xFFFFFFFFLL) || !InRange(v[1], 0, 0xFFFFFFFFLL))
        return std::nullopt;
    for (size_t i = 2; i < 6; ++i)
        if (!InRange(v[i], -kMaxCoordinate, kMaxCoordinate))
            return std::nullopt;
    if (!IsSaneNormalRect(v[6], v[7], v[8], v[9]))
        return std::nullopt;
    CWindowPlacement p;
    p.flags = static_cast<UINT>(v[0]);
    p.showCmd = static_cast<UINT>(v[1]);
    p.minX = static_cast<int>(v[2]);
    p.minY = static_cast<int>(v[3]);
    p.maxX = static_cast<int>(v[4]);
    p.maxY = static_cast<int>(v[5]);
    p.left = static_cast<int>(v[6]);
    p.top = static_cast<int>(v[7]);
    p.right = static_cast<int>(v[8]);
    p.bottom = static_cast<int>(v[9]);
    return p;
}

QString FormatWindowPlacement(const CWindowPlacement& p)
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8,%9,%10")
        .arg(p.flags)
        .arg(p.showCmd)
        .arg(p.minX)
        .arg(p.minY)
        .arg(p.maxX)
        .arg(p.maxY)
        .arg(p.left)
        .arg(p.top)
        .arg(p.right)
        .arg(p.bottom);
}

CWindowPlacement PlacementOf(const QRect& normalGeometry, bool maximized)
{
    CWindowPlacement p;
    p.flags = maximized ? WPF_RESTORETOMAXIMIZED : 0;
    p.showCmd = maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    p.left = normalGeometry.left();
    p.top = normalGeometry.top();
    p.right = normalGeometry.left() + normalGeometry.width();
    p.bottom = normalGeometry.top() + normalGeometry.height();
    return p;
}

QRect ScreenAreaUnder(const QRect& rect)
{
    QScreen* screen = QGuiApplication::screenAt(rect.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
