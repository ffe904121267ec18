#pragma once
// Driving the program's dialogs the way an operator would: controls are
// found by their control ids (object names), typed into and clicked with
// QTest while the UI seam's scripted responder holds the dialog open.
#include "dialogs/DialogButtons.h"
#include "platform/UiSeam.h"
#include "support/ScriptedUi.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace dialogtest {

template <typename T>
T* Control(const QDialog* dialog, int id)
{
    T* control = dialog ? dialog->findChild<T*>(QString::number(id)) : nullptr;
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

// Replaces the edit's text by typing, as the operator would.
inline void TypeInto(const QDialog* dialog, int id, const QString& text)
{
    QLineEdit* edit = Control<QLineEdit>(dialog, id);
    if (!edit)
        return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline QString TextOf(const QDialog* dialog, int id)
{
    QLineEdit* edit = Control<QLineEdit>(dialog, id);
    return edit ? edit->text() : QString();
}

// Radio buttons and check boxes react only on their indicator and text, which
// need not reach the middle of a button stretched by its layout: those are
// clicked on the indicator.
inline void Click(const QDialog* dialog, int id)
{
    QAbstractButton* button = Control<QAbstractButton>(dialog, id);
    if (!button)
        return;
    if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button))
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(std::min(8, button->width() / 2), button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}

// Presses OK by mouse inside a step, so the step can look at the dialog
// afterwards (refused: still open; accepted: finished).
inline void PressOk(const QDialog* dialog)
{
    Click(dialog, IDOK);
}

inline void ChooseRow(const QDialog* dialog, int listId, int row)
{
    QListWidget* list = Control<QListWidget>(dialog, listId);
    if (!list || row < 0 || row >= list->count())
        return;
    QListWidgetItem* item = list->item(row);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
}

inline QStringList RowsOf(const QDialog* dialog, int listId)
{
    QStringList rows;
    if (QListWidget* list = Control<QListWidget>(dialog, listId))
        for (int i = 0; i < list->count(); ++i)
            rows << list->item(i)->text();
    return rows;
}

// The message boxes the run showed, in order.
inline std::vector<CUiPrompt> MessagesOf(const testenv::ScriptedUi& ui)
{
    std::vector<CUiPrompt> messages;
    for (const CUiPrompt& p : ui.Prompts())
        if (p.kind == UiPromptKind::MessageBox)
            messages.push_back(p);
    return messages;
}

// The dialog prompt (the last one recorded).
inline CUiPrompt DialogPromptOf(const testenv::ScriptedUi& ui)
{
    for (auto it = ui.Prompts().rbegin(); it != ui.Prompts().rend(); ++it)
        if (it->kind == UiPromptKind::Dialog)
            return *it;
    ADD_FAILURE() << "no dialog was shown";
    return {};
}

} // namespace dialogtest
