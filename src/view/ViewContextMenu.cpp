// The right-button menu of the editing role: the tool commands, the pen
// sizes for the tools that draw with a width, and the client variant's QZ
// entries.
#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "platform/CommandRouter.h"
#include "resources/CommandIds.h"
#include "resources/MenuTables.h"
#include "view/ViewHost.h"
#include "view/tools/Tool.h"

#include <QMenu>

namespace {

struct MenuEntry {
    UINT id;
    const char* text;
};

constexpr MenuEntry kToolEntries[] = {
    {ID_TOOL_POINTER, "Select Pointer &Mode"},
    {ID_TOOL_PEN, "Select &Pen"},
    {ID_TOOL_BRUSH, "Select &Brush"},
    {ID_TOOL_ERASER, "Select &Eraser"},
    {ID_TOOL_FILL, "Select F&ill"},
    {ID_TOOL_SELECT_AREA, "Select &Area"},
    {ID_TOOL_TEXT, "Select &Text"},
    {ID_TOOL_LINE, "Select &Line"},
    {ID_TOOL_RECTANGLE, "Select &Rectangle"},
    {ID_TOOL_ELLIPSE, "Select Ellip&se"},
};

constexpr MenuEntry kSizeEntries[] = {
    {ID_SIZE_2, "2 pixel size"},
    {ID_SIZE_3, "3 pixel size"},
    {ID_SIZE_5, "5 pixel size"},
    {ID_SIZE_7, "7 pixel size"},
    {ID_SIZE_USER, "User pixel size"},
};

} // namespace

QMenu* CViewEditing::BuildContextMenu(QWidget* parent)
{
    const bool withSizes = ToolInUse().UsesPenSize();
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menu%1").arg(withSizes ? IDR_MENU_TOOLS_WITH_SIZE : IDR_MENU_TOOLS));
    // An entry runs its command as any other: through the router, which
    // refuses it while the update handler disables it.
    auto add = [this](QMenu* into, const MenuEntry& entry) {
        QAction* action = into->addAction(QString::fromLatin1(entry.text));
        CCommandRouter::SetCommandId(action, entry.id);
        QObject::connect(action, &QAction::triggered, into, [this, id = entry.id] {
            if (CCommandRouter* router = EditingHost() ? EditingHost()->Router() : nullptr)
                router->Dispatch(id, OwnCommandRoute());
        });
        return action;
    };
    for (const MenuEntry& entry : kToolEntries)
        add(menu, entry)->setCheckable(true);
    if (withSizes) {
        QMenu* sizes = menu->addMenu(QStringLiteral("Selected Tool &Size"));
        for (const MenuEntry& entry : kSizeEntries)
            add(sizes, entry);
    }
    if (EditingHost() && EditingHost()->ClientVariant() != 0) {
        menu->addSeparator();
        QMenu* qz = menu->addMenu(QStringLiteral("QZ Option"));
        add(qz, MenuEntry{ID_SAVE_QZ_LOG, "Save QZ Log File"});
    }
    // Enabled and checked as the update handlers say, as a menu bar would be.
    auto refresh = [this, menu] {
        const std::vector<CCmdTarget*> route = OwnCommandRoute();
        for (QAction* action : menu->findChildren<QAction*>()) {
            const UINT id = CCommandRouter::CommandIdOf(action);
            if (id == 0)
                continue;
            CCommandRouter::QueryStateAlong(id, route, action).ApplyTo(action);
        }
    };
    refresh();
    QObject::connect(menu, &QMenu::aboutToShow, menu, refresh);
    return menu;
}

void CViewEditing::OnRButtonDown(const CPoint& client)
{
    // The right button cancels a tracking under way instead.
    CRectTracker& tracker = m_selection.Tracker();
    if (tracker.IsTracking()) {
        tracker.Cancel();
        return;
    }
    // ... and goes to a tool that has a use for it (the zoom box).
    if (ToolInUse().RightPress(client))
        return;
    QWidget* viewport = EditingViewport();
    if (!viewport)
        return;
    QMenu* menu = BuildContextMenu(EditingWindow());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(viewport->mapToGlobal(client.ToQPoint()));
}
