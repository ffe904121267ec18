#include "view/ViewEditing.h"

#include "document/GlyphaneDoc.h"
#include "printer/ViewPanes.h"
#include "view/ViewHost.h"
#include "view/tools/FillTool.h"
#include "view/tools/Tool.h"

CViewEditing::CViewEditing(CGlyphaneDoc* doc)
    : m_pDoc(doc)
{
    MapEditingCommands();
}

CViewEditing::~CViewEditing() = default;

void CViewEditing::MapEditingCommands()
{
    m_toolCommands.MapCommands(m_commands);
    m_magnifier.MapCommands(m_commands);
    m_fileCommands.MapCommands(m_commands);
    m_printing.MapCommands(m_commands);
    m_imageCommands.MapCommands(m_commands);
    m_tools.Fill().MapCommands(m_commands);
    m_clipboard.MapCommands(m_commands);
    m_text.MapCommands(m_commands);
}

int CViewEditing::CurrentTool() const
{
    return m_pDoc->GetDrawMode();
}

CTool& CViewEditing::ToolInUse() const
{
    return m_tools.For(CurrentTool());
}

void CViewEditing::SetTool(int toolCode, const QString& paneName)
{
    m_pDoc->SetDrawMode(toolCode);
    ShowToolPane(paneName);
}

void CViewEditing::DropTool()
{
    m_tools.For(tool::None).Choose();
}

void CViewEditing::ShowToolPane(const QString& paneName)
{
    m_strToolPane = paneName;
    viewpanes::SetToolPane(EditingHost(), paneName);
}

void CViewEditing::RefreshToolPane() const
{
    viewpanes::SetToolPane(EditingHost(), m_strToolPane);
}

void CViewEditing::CommitPendingState()
{
    ToolInUse().Commit();
}

bool CViewEditing::HasImage() const
{
    return m_pDoc->Picture().GetLogoBitmap() != nullptr && !m_surfaces.Image().IsNull();
}
