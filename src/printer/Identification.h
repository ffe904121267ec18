#pragma once
// The pieces of printer identification that need no port: the table of
// identification bytes detection listens for, and the message naming the
// printer found.
#include "platform/WinTypes.h"

#include <QString>
#include <vector>

class CLoadCfgPrnFile;

// The printers-to-test value that also marks the fiscal printer whose
// sub-model must be asked, and the sub-model of its ECR variant.
constexpr DWORD kSubModelEntryValue = 111;
constexpr BYTE kEcrSubModel = 2;
// The read time-out of the one-byte sub-model answer.
constexpr UINT kSubModelTimeoutMs = 1000;

// One identification byte (the low byte of its value) per entry of the
// printers-to-test list, at most 255 entries.
std::vector<BYTE> IdentificationTable(const CLoadCfgPrnFile& list);

// The question shown when detection found a printer: the entry's value and
// the sub-model answer tell the ECR variant of the fiscal printer apart.
QString DetectionMessage(const QString& model, DWORD entryValue, BYTE subModel);
