#pragma once
// "About...": the application name and version.
#include <QDialog>

class QLineEdit;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(const QString& appName, const QString& version, QWidget* parent = nullptr);
    int DoModal();

    QString AppName() const { return m_strAppName; }
    QString Version() const { return m_strVersion; }

private:
    QString m_strAppName;
    QString m_strVersion;
};
