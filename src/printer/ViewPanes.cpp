#include "printer/ViewPanes.h"

#include "printer/ProgramHost.h"
#include "resources/StringTable.h"

namespace viewpanes {
namespace {

CPaneTexts& Texts()
{
    static CPaneTexts texts;
    return texts;
}

} // namespace

QString PositionText(int x, int y)
{
    return QStringLiteral("Position: ") + FormatPrintf(QStringLiteral("X:%.3d, Y:%.3d"), {x + 1, y + 1});
}

QString SizeText(int width, int height)
{
    return QStringLiteral("Size: ") + FormatPrintf(QStringLiteral("X:%.2d, Y:%.2d"), {width, height});
}

QString ToolText(const QString& name)
{
    return QStringLiteral("Tool selected: ") + name;
}

void SetPositionPane(CProgramHost* host, int x, int y)
{
    Texts().position = PositionText(x, y);
    if (host)
        host->SetPositionPane(x, y);
}

void SetSizePane(CProgramHost* host, int width, int height)
{
    Texts().size = SizeText(width, height);
    if (host)
        host->SetSizePane(width, height);
}

void SetToolPane(CProgramHost* host, const QString& name)
{
    Texts().tool = ToolText(name);
    if (host)
        host->SetToolPane(name);
}

void SetPrinterPane(CProgramHost* host, const QString& text)
{
    Texts().printer = text;
    if (host)
        host->SetPrinterPane(text);
}

void SetPortPane(CProgramHost* host, const QString& text)
{
    Texts().port = text;
    if (host)
        host->SetPortPane(text);
}

bool IsFrontWindow(const CProgramHost* host, const QWidget* window)
{
    return !host || host->IsFrontWindow(window);
}

void SetMessagePane(CProgramHost* host, const QString& text)
{
    if (host)
        host->SetMessagePane(text);
}

const CPaneTexts& LastTexts()
{
    return Texts();
}

} // namespace viewpanes
