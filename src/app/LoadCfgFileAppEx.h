#pragma once
// The program's application configuration: the component's class plus the
// program's own keys, read while the component loads the file.
#include "components/LoadCfgFileApp.h"

class CLoadCfgFileAppEx : public CLoadCfgFileApp {
public:
    CLoadCfgFileAppEx(QWidget* owner, const QString& programFolder, const QString& fileName);

    QString GetHelpFileName() const { return m_strHelpFile; }
    int GetAutoBaudRateFlow() const { return m_nAutoBaudRateFlow; }

protected:
    // Reads "Nameavifile", "DirLog", "HelpFile" and "AutoBaudRateFlow" in that
    // order; 0 at the first key missing (later keys keep their values), else 1.
    int ReadProgramKeys() override;

private:
    QString m_strHelpFile;
    int m_nAutoBaudRateFlow = 0;
};
