#include "view/ViewPanes.h"

#include "app/GlyphaneApp.h"
#include "frame/ChildFrame.h"
#include "frame/MainFrame.h"
#include "resources/StringTable.h"

namespace viewpanes {
namespace {

CPaneTexts& Texts()
{
    static CPaneTexts texts;
    return texts;
}

// The main frame builds the pane texts itself from the same values; without
// a main frame (a view under test on its own) only the texts here are kept.
CMainFrame* Frame()
{
    return GetApp() ? GetApp()->GetMainFrame() : nullptr;
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

void SetPositionPane(int x, int y)
{
    Texts().position = PositionText(x, y);
    if (CMainFrame* frame = Frame())
        frame->SetPositionPane(x, y);
}

void SetSizePane(int width, int height)
{
    Texts().size = SizeText(width, height);
    if (CMainFrame* frame = Frame())
        frame->SetSizePane(width, height);
}

void SetToolPane(const QString& name)
{
    Texts().tool = ToolText(name);
    if (CMainFrame* frame = Frame())
        frame->SetToolPane(name);
}

void SetPrinterPane(const QString& text)
{
    Texts().printer = text;
    if (CMainFrame* frame = Frame())
        frame->SetPrinterPane(text);
}

void SetPortPane(const QString& text)
{
    Texts().port = text;
    if (CMainFrame* frame = Frame())
        frame->SetPortPane(text);
}

bool IsFrontWindow(const QWidget* window)
{
    CMainFrame* frame = Frame();
    if (!frame)
        return true;
    const CChildFrame* front = frame->ActiveChildFrame();
    // With no other logo window in front, a window that is closing still
    // writes that its port closed: the pane must not keep its open settings.
    return !front || !window || front->isAncestorOf(window) || front->isHidden();
}

void SetMessagePane(const QString& text)
{
    if (CMainFrame* frame = Frame())
        frame->SetMessagePane(text);
}

const CPaneTexts& LastTexts()
{
    return Texts();
}

} // namespace viewpanes
