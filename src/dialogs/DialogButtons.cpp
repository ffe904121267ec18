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
    if (cancel != DialogCancel::None) {
        QPushButton* cancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
        cancelButton->setObjectName(QStringLiteral("2"));
        if (cancel == DialogCancel::HiddenAndDisabled) {
            cancelButton->setEnabled(false);
            cancelButton->hide();
        }
    }
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QPushButton* DialogButton(const QDialog* dialog, int id)
{
    return dialog ? dialog->findChild<QPushButton*>(QString::number(id)) : nullptr;
}
