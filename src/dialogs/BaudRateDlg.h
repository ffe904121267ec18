#pragma once
// "Select BaudRate...": the serial speed to switch the printer to.
#include <QDialog>

class QButtonGroup;

class CBaudRateDlg : public QDialog {
    Q_OBJECT
public:
    explicit CBaudRateDlg(QWidget* parent = nullptr);

    int DoModal();

    int m_nChoice = -1;  // radio index
    int m_nBaudRate = 0; // 9600, 19200 or 38400; 0 after Cancel

public slots:
    void accept() override;
    void reject() override;

private:
    void OnInitDialog();

    QButtonGroup* m_group;
};
