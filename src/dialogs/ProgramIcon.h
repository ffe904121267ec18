#pragma once
// The program's own icon (packaging/icons/), as the windows, the About box and
// the menu entry show it: every size the build drew, from the resource.
#include <QIcon>

QIcon ProgramIcon();
