#include "app/ShellCommand.h"

namespace {

// Qt's own options that take a value; the value is not a file to open.
bool TakesValue(const QString& option)
{
    static const QStringList withValue = {
        QStringLiteral("-platform"), QStringLiteral("-platformpluginpath"), QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"), QStringLiteral("-qmljsdebugger"), QStringLiteral("-style"),
        QStringLiteral("-stylesheet"), QStringLiteral("-display"), QStringLiteral("-geometry"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-title"), QStringLiteral("-qwindowtitle"),
        QStringLiteral("-qwindowicon"), QStringLiteral("-session"), QStringLiteral("-name"),
    };
    return withValue.contains(option);
}

} // namespace

QString ParseShellCommandFile(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg.startsWith(QLatin1Char('-'))) {
            if (TakesValue(arg))
                ++i;
            continue;
        }
        return arg;
    }
    return QString();
}

unsigned ShellResultStringId(int result)
{
    switch (result) {
    case 0: return 1037;
    case 2: return 1044;
    case 3: return 1047;
    case 5: return 1038;
    case 8: return 1046;
    case 11: return 1036;
    case 27: return 1039;
    case 28: return 1042;
    case 29: return 1041;
    case 30: return 1040;
    case 31: return 1045;
    case 32: return 1043;
    default: return 1049;
    }
}
