#include "components/PortNames.h"

#include "components/SettingsStore.h"

#include <QRegularExpression>
#include <algorithm>

PortKind PortKindOf(const QString& portName)
{
    if (portName.contains(QStringLiteral("COM")))
        return PortKind::Serial;
    if (portName.contains(QStringLiteral("LPT")))
        return PortKind::Parallel;
    return PortKind::Usb;
}

QStringList ConfiguredPortNames()
{
    QStringList names = CSettingsStore::Keys(QStringLiteral("Ports"));
    static const QRegularExpression trailingNumber(QStringLiteral("(\\d+)$"));
    auto number = [](const QString& name) {
        const auto m = trailingNumber.match(name);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        const int ka = static_cast<int>(PortKindOf(a)), kb = static_cast<int>(PortKindOf(b));
        if (ka != kb)
            return ka < kb;
        const QString pa = a.left(a.size() - QString::number(number(a)).size());
        const QString pb = b.left(b.size() - QString::number(number(b)).size());
        if (pa != pb)
            return pa < pb;
        return number(a) < number(b);
    });
    return names;
}

QString PortDevice(const QString& portName)
{
    return CSettingsStore::Value(QStringLiteral("Ports"), portName).toString();
}
