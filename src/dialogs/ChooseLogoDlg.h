#pragma once
// "Choose Logo": one of the printer's numbered logo slots.
#include <QDialog>

class QListWidget;

class CChooseLogoDlg : public QDialog {
    Q_OBJECT
public:
    CChooseLogoDlg(QWidget* parent, int slotCount);

    int DoModal();

    QListWidget* m_listLogos;
    int m_nLogo = 0;   // 1-based slot; 0 = none
    int m_nSlots;

public slots:
    void accept() override;
    void reject() override;

private:
    void OnInitDialog();
};
