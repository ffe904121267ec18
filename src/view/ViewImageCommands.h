#pragma once
// The whole-image commands of a logo window (clear, refresh, invert, the
// flips, the black-and-white conversion, "Convert Picture") and the send
// options' commands.
#include "platform/CommandRouter.h"
#include "platform/WinTypes.h"

class CGlyphaneDoc;
class IToolHost;

class CViewImageCommands {
public:
    explicit CViewImageCommands(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    void OnClearAllPixels();
    void OnRefreshView();
    void OnInvertAllPixels();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnToBlackWhite();
    void OnConvertPicture();

private:
    void MapSendOptionCommands(CCommandMap& commands);
    void RunWholeImageOperation(void (CGlyphaneDoc::*operation)(DWORD, DWORD));

    IToolHost& m_host;
    int m_nBwThreshold = 128;
};
