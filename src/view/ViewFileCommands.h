#pragma once
// The File menu's rules of a logo window (saving and closing wait for the
// magnifier; a coloured image is converted before it is saved) and the
// view's side of the upgrade-file commands.
#include "platform/CommandRouter.h"

class IToolHost;

class CViewFileCommands {
public:
    explicit CViewFileCommands(IToolHost& host) : m_host(host) {}

    void MapCommands(CCommandMap& commands);
    // "Load Logo from *.psw" (direction 1) and "Save Logo on *.psw" (0).
    void OnTransferLogoPsw(int direction);

private:
    IToolHost& m_host;
};
