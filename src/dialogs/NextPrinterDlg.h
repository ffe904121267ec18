#pragma once
// The modeless box of "Program Next Printer": what it waits for, how many
// printers were done and failed, the last failure, and Stop.
#include <QDialog>

class QLabel;

class CNextPrinterDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNextPrinterDlg(QWidget* parent);

    void SetState(const QString& text);
    void SetCounts(int done, int failed, const QString& lastFailure);
    QString StateText() const;
    QString CountsText() const;

signals:
    // The operator pressed Stop (or closed the box).
    void Stopped();

protected:
    void reject() override;

private:
    QLabel* m_state;
    QLabel* m_counts;
};
