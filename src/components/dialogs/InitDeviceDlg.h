#pragma once
// The hint shown before a port is opened, while the view's flag is set; its
// "do not show again" box clears the flag.
#include <QDialog>

class QCheckBox;

class CDialogInitHint : public QDialog {
    Q_OBJECT
public:
    CDialogInitHint(QWidget* parent, int* showFlag, const QString& title, const QString& text);
    int DoModal();
    QCheckBox* DoNotShowAgain() const { return m_box; }

public slots:
    void accept() override;

private:
    int* m_pShowFlag;
    QCheckBox* m_box;
};

// The hint for the WGJ33, which must be put in its loading mode first.
class CDialogInitDevice : public CDialogInitHint {
    Q_OBJECT
public:
    CDialogInitDevice(QWidget* parent, int* showFlag);
};

// The hint for every other printer.
class CDialogInitGenericPrn : public CDialogInitHint {
    Q_OBJECT
public:
    CDialogInitGenericPrn(QWidget* parent, int* showFlag);
};
