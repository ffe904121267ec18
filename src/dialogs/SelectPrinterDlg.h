#pragma once
// "Select Printer": the printers of the application configuration offered
// for a new logo (the list's reserved entries before index 9 never are).
#include "platform/WinTypes.h"

#include <QDialog>

class QListWidget;
class QLineEdit;
class CLoadCfgFileApp;

class CSelectPrinterDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstOfferedEntry = 9;

    CSelectPrinterDlg(QWidget* parent, const CLoadCfgFileApp* printerList, QString* model, QString* cfgFile);

    int DoModal();

    QListWidget* ListBox() const { return m_list; }
    QString SelectedText() const { return m_strSelected; }

public slots:
    void accept() override;
    void reject() override;

private:
    void OnSelChange();

    QListWidget* m_list;
    QString m_strModel;
    QString m_strCfgFile;
    QString m_strSelected;
    QLineEdit* m_selectedEdit;
    const CLoadCfgFileApp* m_pPrinterList;
    QString* m_pModel;
    QString* m_pCfgFile;
};
