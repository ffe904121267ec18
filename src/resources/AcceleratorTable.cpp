#include "resources/AcceleratorTable.h"

#include <algorithm>

namespace {

struct RawAccel {
    const char* key; // portable text, as QKeySequence reads it
    UINT commandId;
};

// Kept in the resource's order. Alt+M sends Flip Horizontal, not pointer mode,
// and Alt+W sends a command that nothing handles: both are how the program has
// always behaved and operators rely on Alt+M.
constexpr RawAccel kAccelerators[] = {
    {"Ctrl+N", 57600},        {"Ctrl+O", 57601},      {"Ctrl+S", 57603},      {"Ctrl+P", 57607},
    {"Ctrl+Z", 57643},        {"Alt+Backspace", 57643},
    {"Ctrl+X", 57635},        {"Shift+Del", 57635},
    {"Ctrl+C", 57634},        {"Ctrl+Ins", 57634},
    {"Ctrl+V", 57637},        {"Shift+Ins", 57637},
    {"Ctrl+Alt+V", 57639},
    {"F6", 57680},            {"Shift+F6", 57681},
    {"Ctrl+E", 32791},        {"Ctrl+T", 32790},      {"Ctrl+L", 32789},      {"Ctrl+Q", 32799},
    {"Ctrl+M", 32792},
    {"Ctrl+I", 32793},        {"Ctrl+W", 32795},      {"Ctrl+R", 32797},
    {"Ctrl+F", 32812},        {"Ctrl+B", 32813},      {"Ctrl+D", 32814},
    {"Alt+X", 32782},         {"Alt+V", 32783},       {"Alt+C", 32781},
    {"Alt+Q", 32826},         {"Alt+D", 32823},       {"Alt+M", 32824},       {"Alt+O", 32825},
    {"Alt+P", 32773},         {"Alt+B", 32775},       {"Alt+E", 32772},       {"Alt+I", 32776},
    {"Alt+A", 32774},         {"Alt+T", 61470},       {"Alt+L", 32777},       {"Alt+R", 32778},
    {"Alt+S", 61491},         {"Alt+F", 61473},
    {"Alt+Z", 61485},         {"Alt+N", 61486},       {"Alt+U", 61487},       {"Alt+G", 61480},
    {"Alt+W", 32830},
};

std::vector<CAccelEntry> BuildTable()
{
    std::vector<CAccelEntry> table;
    table.reserve(std::size(kAccelerators));
    for (const RawAccel& raw : kAccelerators)
        table.push_back({QKeySequence(QString::fromLatin1(raw.key), QKeySequence::PortableText), raw.commandId});
    return table;
}

} // namespace

const std::vector<CAccelEntry>& AcceleratorTable()
{
    static const std::vector<CAccelEntry> table = BuildTable();
    return table;
}

UINT AcceleratorCommand(const QKeySequence& key)
{
    for (const CAccelEntry& entry : AcceleratorTable())
        if (entry.key == key)
            return entry.commandId;
    return 0;
}

QList<QKeySequence> AcceleratorKeysFor(UINT commandId)
{
    QList<QKeySequence> keys;
    for (const CAccelEntry& entry : AcceleratorTable())
        if (entry.commandId == commandId)
            keys.append(entry.key);
    return keys;
}

std::vector<UINT> AcceleratorCommandIds()
{
    std::vector<UINT> ids;
    for (const CAccelEntry& entry : AcceleratorTable())
        if (std::find(ids.begin(), ids.end(), entry.commandId) == ids.end())
            ids.push_back(entry.commandId);
    return ids;
}
