#include "view/DesktopPrinting.h"

#include "platform/InstallLayout.h"
#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QLibrary>
#include <QStringList>

IDesktopPrinting* DesktopPrinting(QString* why)
{
    using Entry = IDesktopPrinting* (*)();
    static IDesktopPrinting* printing = nullptr;
    static QString failure;
    if (!printing && failure.isEmpty()) {
        QStringList tried;
        for (const QString& path : ModuleCandidates(QStringLiteral("libglyphane-print.so"))) {
            QLibrary module(path);
            if (auto entry = reinterpret_cast<Entry>(module.resolve("GlyphaneDesktopPrinting"))) {
                printing = entry(); // the module stays loaded for the rest of the run
                break;
            }
            tried.append(module.errorString());
        }
        if (!printing)
            failure = tried.join(QStringLiteral("; "));
    }
    if (!printing && why)
        *why = failure;
    return printing;
}

IDesktopPrinting* DesktopPrintingOrSay(QWidget* owner)
{
    QString why;
    IDesktopPrinting* printing = DesktopPrinting(&why);
    if (!printing)
        MessageBox(owner, QStringLiteral("Printing is not available: the printing module could not be loaded (%1).").arg(why),
                   LoadString(1035), MB_OK | MB_ICONSTOP);
    return printing;
}
