#pragma once
// The main frame's one accelerator table: every keyboard shortcut of the
// program and the command it sends. Menu texts only show shortcuts; the keys
// that work come from here alone, so a menu text that names a key twice (the
// Tools menu shows Alt+M beside two entries) cannot make a shortcut ambiguous.
#include "platform/WinTypes.h"

#include <QKeySequence>
#include <QList>
#include <vector>

struct CAccelEntry {
    QKeySequence key;
    UINT commandId;
};

// The table in resource order.
const std::vector<CAccelEntry>& AcceleratorTable();

// The command a key sends, or 0 when the table has no such key.
UINT AcceleratorCommand(const QKeySequence& key);

// All keys that send commandId, in table order (empty when none does).
QList<QKeySequence> AcceleratorKeysFor(UINT commandId);

// Every command id the table sends, each once, in table order.
std::vector<UINT> AcceleratorCommandIds();
