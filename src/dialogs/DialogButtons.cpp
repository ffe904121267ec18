#include "dialogs/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, const QString& okText, DialogCancel cancel)
{
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(okText, QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    if (cancel == DialogCancel::Shown) {
        QPushButton* cancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cancelButton->setObjectName(QStringLiteral("2"));
    } else if (cancel == DialogCancel::HiddenAndDisabled) {
        // Kept out of the button box, which shows its buttons again whenever
        // it lays them out.
        auto* cancelButton = new QPushButton(QStringLiteral("Cancel"), dialog);
        cancelButton->setObjectName(QStringLiteral("2"));
        cancelButton->setEnabled(false);
        cancelButton->hide();
        QObject::connect(cancelButton, &QPushButton::clicked, dialog, &QDialog::reject);
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QPushButton* DialogButton(const QDialog* dialog, int id)
{
    return dialog ? dialog->findChild<QPushButton*>(QString::number(id)) : nullptr;
}
