#include "view/tools/ToolSet.h"

#include "view/tools/BrushTool.h"
#include "view/tools/EllipseTool.h"
#include "view/tools/EraserTool.h"
#include "view/tools/FillTool.h"
#include "view/tools/LineTool.h"
#include "view/tools/PenTool.h"
#include "view/tools/PointerTool.h"
#include "view/tools/RectangleTool.h"
#include "view/tools/SelectAreaTool.h"
#include "view/tools/SelectionTool.h"
#include "view/tools/TextBoxTool.h"
#include "view/tools/TextTool.h"
#include "view/tools/ZoomBoxTool.h"

CToolSet::CToolSet(IToolHost& host)
    : m_unknown(std::make_unique<CTool>(host, -1, QString()))
{
    auto fill = std::make_unique<CFillTool>(host);
    m_fill = fill.get();
    m_tools.push_back(std::make_unique<CPointerTool>(host));
    m_tools.push_back(std::make_unique<CPenTool>(host, m_stroke));
    m_tools.push_back(std::make_unique<CBrushTool>(host, m_stroke));
    m_tools.push_back(std::make_unique<CEraserTool>(host, m_stroke));
    m_tools.push_back(std::make_unique<CTextBoxTool>(host));
    m_tools.push_back(std::make_unique<CZoomBoxTool>(host));
    m_tools.push_back(std::make_unique<CSelectAreaTool>(host));
    m_tools.push_back(std::make_unique<CSelectionTool>(host));
    m_tools.push_back(std::make_unique<CTextTool>(host));
    m_tools.push_back(std::move(fill));
    m_tools.push_back(std::make_unique<CLineTool>(host, m_shape));
    m_tools.push_back(std::make_unique<CRectangleTool>(host, m_shape));
    m_tools.push_back(std::make_unique<CEllipseTool>(host, m_shape));
}

CToolSet::~CToolSet() = default;

CTool& CToolSet::For(int toolCode) const
{
    for (const auto& tool : m_tools)
        if (tool->Code() == toolCode)
            return *tool;
    return *m_unknown;
}
