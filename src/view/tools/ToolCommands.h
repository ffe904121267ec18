#pragma once
// The Tools menu and toolbar of a logo window: choosing a tool, the checks
// that show the tool in use, the pen sizes.
#include "platform/CommandRouter.h"

class IToolHost;

class CToolCommands {
public:
    explicit CToolCommands(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);

private:
    void MapToolCommands(CCommandMap& commands);
    void MapSizeCommands(CCommandMap& commands);
    void ChooseTool(int toolCode);
    void OnUserPixelSize();
    void UpdateToolCheck(CCmdUI& cmdUI, int first, int second, bool disabledWhenMagnified) const;

    IToolHost& m_host;
};
