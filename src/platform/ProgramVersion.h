#pragma once
// What every program of the package says it is: the project's version and
// the desktop's name for it, both set once in the top-level CMakeLists.txt.

// The version text, e.g. "1.0.0".
const char* GlyphaneVersion();
// The name the desktop knows the program by: its .desktop file, its icon and
// its AppStream data are all named after it.
const char* GlyphaneDesktopId();

// When the first argument is "--version", prints "<program> <version>" on
// standard output and returns true: the caller exits at once, before it opens
// a display, the settings or a port.
bool AnswersVersion(int argc, char** argv, const char* program);
