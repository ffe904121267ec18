#pragma once
// "About...": the application name and version, and the build, the Qt
// version, the licence and where the documentation is.
#include <QDialog>

class QLineEdit;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // What the box says besides the name and the version.
    struct Facts {
        QString build;
        QString qtVersion;
        QString licence;
        QString documentation;
    };

    CAboutDlg(const QString& appName, const QString& version, const Facts& facts, QWidget* parent = nullptr);
    int DoModal();

    QString AppName() const { return m_strAppName; }
    QString Version() const { return m_strVersion; }

private:
    QString m_strAppName;
    QString m_strVersion;
};
