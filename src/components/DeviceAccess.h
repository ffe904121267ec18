#pragma once
// Why a device cannot be opened, in the words a user can act on: serial lines
// belong to the group "dialout" and printers to "lp" on most systems, and only
// members of the device's group may open it.
#include <QString>

// The group that owns device (links followed); empty when it cannot be told.
QString DeviceGroup(const QString& device);

// "the user needs the group "dialout"" for a device of that group; empty when
// the group cannot be told.
QString NeededGroupText(const QString& device);

// What to add to the message of a failed open: "; the user needs the group
// "dialout"" when err says access was refused and the group is known, else
// nothing.
QString AccessHint(const QString& device, int err);
