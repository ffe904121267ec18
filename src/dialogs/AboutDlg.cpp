#include "dialogs/AboutDlg.h"

#include "frame/ProgramIcon.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const QString& appName, const QString& version, QWidget* parent)
    : QDialog(parent)
    , m_strAppName(appName)
    , m_strVersion(version)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("About..."));

    auto* name = new QLineEdit(appName, this);
    name->setObjectName(QStringLiteral("1028"));
    name->setReadOnly(true);
    auto* ver = new QLineEdit(version, this);
    ver->setObjectName(QStringLiteral("1043"));
    ver->setReadOnly(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* form = new QFormLayout;
    form->addRow(name);
    form->addRow(QStringLiteral("Version:"), ver);
    auto* head = new QHBoxLayout;
    head->addWidget(icon);
    head->addLayout(form, 1);
    auto* maker = new QLabel(QStringLiteral("Logo editor and loader for Tessaro printers."), this);
    maker->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(maker);
    layout->addWidget(buttons);
}

int CAboutDlg::DoModal()
{
    return RunModal(this);
}
