// Pictures to paper: a PNG, a JPEG, an SVG and a PDF made into a logo through
// "Convert Picture" and through "glyphane-cli import", the logo sent by "Test
// Logo" to the virtual printer, and the page it prints looked at.
#include "TransferFixture.h"

#include "dialogs/ConvertPictureDlg.h"
#include "frame/ChildFrame.h"
#include "support/PictureFiles.h"

#include <QComboBox>
#include <QSpinBox>

using namespace transfertest;
using picturefiles::Half;
using testenv::ScriptedUi;

namespace {

void Choose(QDialog* d, const char* combo, const QString& data)
{
    auto* box = d->findChild<QComboBox*>(QLatin1String(combo));
    ASSERT_NE(box, nullptr) << combo;
    const int index = box->findData(data) >= 0 ? box->findData(data) : box->findText(data);
    ASSERT_GE(index, 0) << data.toStdString();
    box->setCurrentIndex(index);
}

class PicturePaperTest : public TransferTest {
protected:
    // The logo the dialog makes of path (WGJ33, stretched, by threshold, on
    // the page given), in a window bound to COM1 as Connect leaves it.
    bool ConvertInTheEditor(const QString& path, int page)
    {
        ScriptedUi ui;
        ui.Then([page](CUiPrompt& p, QDialog* d) {
            ASSERT_NE(qobject_cast<CConvertPictureDlg*>(d), nullptr);
            Choose(d, "printerModel", QStringLiteral("WGJ33"));
            Choose(d, "fit", QStringLiteral("stretch"));
            Choose(d, "method", QStringLiteral("threshold"));
            d->findChild<QSpinBox*>(QStringLiteral("page"))->setValue(page);
            p.result = IDOK;
        });
        m_doc = GetApp()->OpenDocumentFile(path);
        if (!m_doc)
            return false;
        m_view = GetApp()->GetMainFrame()->ChildFrames().last()->GetView();
        m_view->Link().SetShowInitDialog(false);
        m_doc->Binding().SetPortName(QStringLiteral("COM1"));
        DWORD slotCount = 0;
        m_doc->Binding().GetPrinterCfg()->GetOptionPrintersToTest(QStringLiteral("NLoghi"), &slotCount);
        m_doc->Binding().SetNumLogos(static_cast<int>(slotCount));
        return true;
    }
};

} // namespace

TEST_F(PicturePaperTest, EachKindOfPictureBecomesALogoThatPrintsRight)
{
    const QSize size(150, 62);
    const struct {
        const char* name;
        std::function<bool(const QString&)> write;
        int page;
    } pictures[] = {
        {"shop.png", [&](const QString& p) { return picturefiles::Save(picturefiles::HalfBlack(size), p, "png"); }, 1},
        {"shop.jpg", [&](const QString& p) { return picturefiles::Save(picturefiles::HalfBlack(size), p, "jpeg"); }, 1},
        {"shop.svg", [&](const QString& p) { return picturefiles::WriteFile(p, picturefiles::HalfBlackSvg(size)); }, 1},
        {"shop.pdf", [&](const QString& p) { return picturefiles::WritePdf(p, QSizeF(size), {Half::Right, Half::Left}); }, 2},
    };
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.name);
        StartLinePrinterWith(QStringLiteral("WGJ33"), [](CEmuOptions& o) { o.lineTime = false; });
        const QString path = TempPath(QLatin1String(picture.name));
        ASSERT_TRUE(picture.write(path));
        ASSERT_TRUE(ConvertInTheEditor(path, picture.page));
        const QImage logo = *m_doc->Picture().GetLogoBitmap();
        ASSERT_EQ(logo.size(), QSize(576, 240));
        EXPECT_TRUE(picturefiles::LooksHalfBlack(logo));

        // The command line makes the same dots.
        QString err;
        const QString imported = TempPath(QStringLiteral("imported.bmp"));
        ASSERT_EQ(RunCli({"import", path, imported, "--model", "WGJ33", "--fit", "stretch", "--method", "threshold",
                          "--page", QString::number(picture.page)},
                         &err),
                  cli::kExitOk)
            << err.toStdString();
        EXPECT_EQ(QImage(imported).convertToFormat(QImage::Format_RGB32), logo);

        // On paper: the logo's 240 rows, dot for dot, black on the left.
        ScriptedUi ui;
        ASSERT_TRUE(RunJob(ID_TEST_LOGO));
        ASSERT_FALSE(m_printer->Pages().isEmpty()) << MessageTexts(ui).join(u'\n').toStdString();
        const QImage page = QImage(m_printer->Pages().last()).convertToFormat(QImage::Format_RGB32);
        ASSERT_GE(page.height(), 240);
        EXPECT_EQ(page.copy(0, 0, 576, 240), logo);
        EXPECT_TRUE(picturefiles::LooksHalfBlack(page.copy(0, 0, 576, 240)));
    }
}
