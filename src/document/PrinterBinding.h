#pragma once
// The printer a logo is made for: its model, its configuration file and what
// was read from it (the printer area in dots, the identification byte), the
// port it is reached on, and the flags the model's family sets.
#include "components/LoadCfgPrnFile.h"
#include "platform/WinTypes.h"

#include <QString>

// The printer a new logo is made for, as the operator chose it.
struct CPrinterChoice {
    QString model;
    QString cfgFile; // relative to the program folder
};

class CPrinterBinding {
public:
    // Configuration files are named relative to programFolder.
    explicit CPrinterBinding(const QString& programFolder = {});

    // Loads the chosen printer's configuration and takes its printer area and
    // identification byte. An empty string on success, otherwise what could
    // not be read.
    QString BindPrinter(const CPrinterChoice& choice);

    QString GetPrinterModel() const { return m_strPrinterModel; }
    void SetPrinterModel(const QString& model) { m_strPrinterModel = model; }
    QString GetPrinterCfgFileName() const { return m_strPrinterCfgFile; }
    void SetPrinterCfgFileName(const QString& name) { m_strPrinterCfgFile = name; }
    CLoadCfgPrnFile* GetPrinterCfg() { return &m_printerCfg; }
    QString GetPortName() const { return m_strPortName; }
    void SetPortName(const QString& name) { m_strPortName = name; }

    // The printer area in dots.
    int GetDotX() const { return m_nDotX; }
    int GetDotY() const { return m_nDotY; }
    void SetDotX(int v) { m_nDotX = v; }
    void SetDotY(int v) { m_nDotY = v; }
    int GetNumLogos() const { return m_nNLoghi; }
    void SetNumLogos(int n) { m_nNLoghi = n; }
    int GetPrnLogoFlash() const { return m_nPrnLogoFlash; }
    void SetPrnLogoFlash(int v) { m_nPrnLogoFlash = v; }
    BYTE GetGsiModel() const { return m_ucGsiModel; }
    void SetGsiModel(BYTE v) { m_ucGsiModel = v; }

    int IsHvczilMedel() const { return m_bHvczilMedel; }
    int IsMonochrome() const { return m_bMonochrome; }
    void SetMonochrome(int v) { m_bMonochrome = v; }
    int IsWgj33() const { return m_bWgj33; }
    void SetWgj33(int v) { m_bWgj33 = v; }
    int IsMzvzvrxh() const { return m_bMzvzvrxh; }

private:
    void SetModelFlags(const QString& model);

    QString m_strProgramFolder;
    QString m_strPrinterModel;
    QString m_strPrinterCfgFile;
    CLoadCfgPrnFile m_printerCfg;
    QString m_strPortName;
    int m_nNLoghi = 0;
    int m_nDotX = 0;
    int m_nDotY = 0;
    int m_nPrnLogoFlash = 0;
    BYTE m_ucGsiModel = 0;
    int m_bHvczilMedel = 0;
    int m_bMonochrome = 1;
    int m_bWgj33 = 0;
    int m_bMzvzvrxh = 0;
};
