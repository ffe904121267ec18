#include "view/DesktopPrinting.h"

#include "platform/UiSeam.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

namespace {

// Beside the program (a build tree, the tests) or in the installed library
// folder (bin/../lib/glyphane, or an absolute library folder as configured).
QStringList ModuleCandidates()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString libDir = QStringLiteral(GLYPHANE_INSTALL_LIBDIR);
    const QString installed = QDir::isAbsolutePath(libDir) ? libDir : dir + QStringLiteral("/../") + libDir;
    return {dir + QStringLiteral("/libglyphane-print.so"), installed + QStringLiteral("/glyphane/libglyphane-print.so")};
}

} // namespace

IDesktopPrinting* DesktopPrinting(QString* why)
{
    using Entry = IDesktopPrinting* (*)();
    static IDesktopPrinting* printing = nullptr;
    static QString failure;
    if (!printing && failure.isEmpty()) {
        QStringList tried;
        for (const QString& path : ModuleCandidates()) {
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
