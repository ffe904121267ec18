#pragma once
// The program's own dialogs a logo document opens ("Select Logo...", the QZ
// header form), handed to the document through its environment so that the
// document layer never names a widget.
#include "document/DocEnvironment.h"

void InstallDocumentDialogs(CDocEnvironment& env);
