#pragma once
// A started program with one logo window and a virtual printer on a
// pseudo-terminal mapped as COM1 (and USB001), with the scripted operator
// steps the connection dialogs need.
#include "PrinterEmulator.h"
#include "app/GlyphaneApp.h"
#include "components/dialogs/SelectComPortDlg.h"
#include "document/GlyphaneDoc.h"
#include "resources/CommandIds.h"
#include "support/ProgramFixture.h"
#include "support/ScriptedUi.h"
#include "view/GlyphaneView.h"

#include <QApplication>
#include <QListWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace connecttest {

class ConnectTest : public testenv::ProgramFixture {
protected:
    // The registry values of the run; the client-variant tests replace them.
    virtual QByteArray Registry() const { return testenv::DefaultRegistrySection(); }

    QByteArray Settings() const override
    {
        return Registry() + "\n[Ports]\nCOM1=" + LinkPath().toUtf8()
               + "\nCOM2=" + TempPath(QStringLiteral("nothing-here")).toUtf8()
               + "\nLPT1=" + TempPath(QStringLiteral("lp0")).toUtf8()
               + "\nUSB001=" + LinkPath().toUtf8() + "\n";
    }

    void TearDown() override
    {
        ProgramFixture::TearDown();
        m_printer.reset();
    }

    QString LinkPath() const { return TempPath(QStringLiteral("ttyPRINTER")); }

    void StartPrinter(const QString& model, unsigned baud = 9600, const QString& fault = QString(),
                      int subModel = 1, int subModelLength = 1)
    {
        m_printer.reset();
        CEmuOptions o;
        o.model = model;
        o.baud = baud;
        o.subModel = subModel;
        o.subModelLength = subModelLength;
        o.dataDir = testenv::ProgramDir();
        o.linkPath = LinkPath();
        if (!fault.isEmpty()) {
            ASSERT_TRUE(ParseEmuFault(fault, &o.fault));
        }
        m_printer = std::make_unique<CPrinterEmulator>(o);
        QString error;
        ASSERT_TRUE(m_printer->Start(&error)) << error.toStdString();
    }

    // A white logo window of the given size, without a printer; the
    // initialisation hint and the WGJ33 question an opened file brings are
    // switched off unless a test wants them.
    // name: the file's name (logo<w>x<h>.bmp unless given); opening a file
    // that is open already only brings its window forward.
    CGlyphaneView* OpenWhiteLogo(int width, int height, const QString& name = QString())
    {
        m_view = OpenWhiteLogoView(width, height, m_doc, name);
        if (!m_doc)
            return nullptr;
        if (m_view)
            m_view->Link().SetShowInitDialog(false);
        EXPECT_EQ(m_doc->Binding().IsWgj33(), 1);
        m_doc->Binding().SetWgj33(0);
        QApplication::processEvents();
        return m_view;
    }

    // Loads a model's own configuration into the document, as a new logo made
    // for that printer would have it.
    void BindDocumentTo(const QString& model)
    {
        m_doc->Binding().SetPrinterModel(model);
        m_doc->Binding().SetPrinterCfgFileName(QStringLiteral("CfgFile\\%1.cfg").arg(model));
        ASSERT_TRUE(m_doc->Binding().GetPrinterCfg()->LoadPublicCfgFile(
            testenv::ProgramDir() + QStringLiteral("CfgFile/%1.cfg").arg(model)));
    }

    static testenv::ScriptedUi::Step ChoosePort(const QString& name)
    {
        return [name](CUiPrompt& p, QDialog* d) {
            auto* dlg = qobject_cast<CDiaologSelectComPort*>(d);
            ASSERT_NE(dlg, nullptr) << p.caption.toStdString();
            for (int i = 0; i < dlg->List()->topLevelItemCount(); ++i)
                if (dlg->List()->topLevelItem(i)->text(0) == name)
                    dlg->List()->setCurrentItem(dlg->List()->topLevelItem(i));
            p.result = IDOK;
        };
    }

    static testenv::ScriptedUi::Step ChoosePrinter(const QString& model)
    {
        return [model](CUiPrompt& p, QDialog* d) {
            auto* list = d ? d->findChild<QListWidget*>(QStringLiteral("1002")) : nullptr;
            ASSERT_NE(list, nullptr) << p.caption.toStdString();
            const auto items = list->findItems(model, Qt::MatchExactly);
            ASSERT_EQ(items.size(), 1) << model.toStdString();
            list->setCurrentItem(items.front());
            p.result = IDOK;
        };
    }

    // The texts of the message boxes shown, in order.
    static QStringList MessageTexts(const testenv::ScriptedUi& ui)
    {
        QStringList texts;
        for (const CUiPrompt& p : ui.Prompts())
            if (p.kind == UiPromptKind::MessageBox)
                texts << p.text;
        return texts;
    }
    static QStringList DialogClasses(const testenv::ScriptedUi& ui)
    {
        QStringList names;
        for (const CUiPrompt& p : ui.Prompts())
            if (p.kind == UiPromptKind::Dialog)
                names << p.dialogClass;
        return names;
    }

    std::unique_ptr<CPrinterEmulator> m_printer;
    CGlyphaneDoc* m_doc = nullptr;
    CGlyphaneView* m_view = nullptr;
};

} // namespace connecttest
