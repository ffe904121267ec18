#pragma once
// Written by the build into BuildStamp.cpp (BuildStamp.cmake): the commit and
// its date on every build, the rest as configured.
namespace buildstamp {

extern const char* const kCommit;     // "562cdbf", "562cdbf-modified" or empty
extern const char* const kCommitDate; // "2026-12-09" or empty
extern const char* const kLicence;
// The installed documentation folder relative to the installed executable.
extern const char* const kDocFolderFromBin;
// The source tree's README.md, for a program run from its build tree.
extern const char* const kSourceReadme;

} // namespace buildstamp
