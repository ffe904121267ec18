#include "dialogs/AboutDlg.h"

#include "dialogs/ProgramIcon.h"
#include "platform/UiSeam.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// A read-only line the operator can select and copy (a path, a commit).
QLineEdit* ReadOnlyLine(const QString& text, int id, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::number(id));
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

} // namespace

CAboutDlg::CAboutDlg(const QString& appName, const QString& version, const Facts& facts, QWidget* parent)
    : QDialog(parent)
    , m_strAppName(appName)
    , m_strVersion(version)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(QStringLiteral("About..."));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* form = new QFormLayout;
    form->addRow(ReadOnlyLine(appName, 1028, this));
    form->addRow(QStringLiteral("Version:"), ReadOnlyLine(version, 1043, this));
    form->addRow(QStringLiteral("Build:"), ReadOnlyLine(facts.build, 1044, this));
    form->addRow(QStringLiteral("Qt:"), ReadOnlyLine(facts.qtVersion, 1045, this));
    form->addRow(QStringLiteral("Licence:"), ReadOnlyLine(facts.licence, 1046, this));
    auto* docs = ReadOnlyLine(facts.documentation, 1047, this);
    // A path is longer than a version: room for a typical one.
    docs->setMinimumWidth(docs->fontMetrics().averageCharWidth() * 48);
    form->addRow(QStringLiteral("Documentation:"), docs);
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
