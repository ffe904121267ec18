#pragma once
// Printing the logo held in the printer's RAM: "CmdPrtRAM", six line feeds,
// "Ctotcut". The serial and the parallel components take the same three
// calls, so one sequence serves both.
#include <QString>

inline constexpr int kLineFeedsAfterLogo = 6;

// 1 only when all three were taken.
template <class Port>
int PrintRamLogo(Port& port)
{
    return port.NewSendCommandToCom(QStringLiteral("CmdPrtRAM")) && port.NLfOutput(kLineFeedsAfterLogo)
                   && port.NewSendCommandToCom(QStringLiteral("Ctotcut"))
               ? 1
               : 0;
}
