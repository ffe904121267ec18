#pragma once
// Modeless boxes shown while the program waits: a plain message, and the
// progress of a transfer with a stop button.
#include "platform/WinTypes.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;

class CDialogMessage : public QDialog {
    Q_OBJECT
public:
    CDialogMessage(QWidget* parent, const QString& text, const QString& caption);
    // Shows the box without waiting; the caller destroys it.
    void Create();
};

class CDialogThreadStatus : public QDialog {
    Q_OBJECT
public:
    CDialogThreadStatus(QWidget* parent, const QString& text, const QString& caption, UINT stopMessage);
    void Create();
    void InitPcThread(int lower, int upper, int step, int position);
    void StepIt();
    QProgressBar* Progress() const { return m_progress; }
    // The line under the bar: bytes sent, line speed, time left.
    void SetDetails(const QString& text);
    QString Details() const;
    // Pressing the stop button posts the stop message to the parent window.
    void OnStop();

protected:
    void reject() override; // Esc and the close box stop as well

private:
    QProgressBar* m_progress;
    QLabel* m_details;
    QPointer<QWidget> m_parent;
    UINT m_nStopMessage;
    int m_nStep = 1;
};
