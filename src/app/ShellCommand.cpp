#include "app/ShellCommand.h"

QString ParseShellCommandFile(const QStringList& arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg.startsWith(QLatin1Char('-')))
            continue; // Qt's own options (-platform, -style, ...) were taken already
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
