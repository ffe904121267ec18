#pragma once
// What the program knows of its own build, for the About box.
#include <QString>

namespace buildinfo {

// The commit the program was built from and that commit's date,
// "562cdbf (2026-12-09)", with "-modified" after a commit with changes not
// committed; "unknown" when it was built outside a git checkout.
QString Build();
// The licence the program is given under.
QString Licence();
// The README of the installed documentation folder, else the README of the
// source tree the program was built from; empty when neither is there.
QString DocumentationPath();

} // namespace buildinfo
