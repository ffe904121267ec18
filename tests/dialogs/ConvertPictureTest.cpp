// "Convert Picture" in the started program: every door a picture comes in by
// (the command line, File > Open, a drop, the recent-file list, the Image
// menu of an open logo), the dialog's live dot-true preview and its compare
// view, and what OK, Cancel and a bad picture leave behind.
#include "DialogDriving.h"

#include "app/GlyphaneApp.h"
#include "dialogs/ConvertPictureDlg.h"
#include "dialogs/PrinterPreviewDlg.h"
#include "frame/ChildFrame.h"
#include "frame/MainFrame.h"
#include "resources/CommandIds.h"
#include "support/PictureFiles.h"
#include "support/ProgramFixture.h"
#include "transfer/PrinterPreview.h"
#include "view/GlyphaneView.h"

#include <QComboBox>
#include <QDropEvent>
#include <QMimeData>
#include <QSlider>
#include <QSpinBox>
#include <QUrl>

#include <functional>

using picturefiles::Half;
using testenv::ScriptedUi;

namespace {

const QSize kPicture(120, 50);

void Choose(QDialog* d, const char* combo, const QString& data)
{
    auto* box = d->findChild<QComboBox*>(QLatin1String(combo));
    ASSERT_NE(box, nullptr) << combo;
    const int index = box->findData(data) >= 0 ? box->findData(data) : box->findText(data);
    ASSERT_GE(index, 0) << combo << " has no " << data.toStdString();
    box->setCurrentIndex(index);
}

template <typename T>
T* Find(QDialog* d, const char* name)
{
    T* control = d->findChild<T*>(QLatin1String(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// The dialog answered: WGJ33 (576 x 240), stretched, by threshold, then
// whatever else adjust does; result IDOK or IDCANCEL.
ScriptedUi::Step Convert(const std::function<void(CConvertPictureDlg&)>& adjust = {}, int result = IDOK)
{
    return [=](CUiPrompt& p, QDialog* d) {
        auto* dialog = qobject_cast<CConvertPictureDlg*>(d);
        ASSERT_NE(dialog, nullptr) << "not the conversion dialog: " << p.caption.toStdString();
        Choose(d, "printerModel", QStringLiteral("WGJ33"));
        Choose(d, "fit", QStringLiteral("stretch"));
        Choose(d, "method", QStringLiteral("threshold"));
        if (adjust)
            adjust(*dialog);
        dialog->UpdateNow();
        p.result = result;
    };
}

class ConvertPictureTest : public testenv::ProgramFixture {
public:
    CMainFrame* Frame() const { return GetApp()->GetMainFrame(); }
    int Windows() const { return static_cast<int>(Frame()->ChildFrames().size()); }
    CGlyphaneDoc* LastDocument() const
    {
        const QList<CChildFrame*> children = Frame()->ChildFrames();
        return children.isEmpty() ? nullptr : children.last()->GetDocument();
    }

    QString WritePicture(const QString& name, Half half = Half::Left, QSize size = kPicture)
    {
        const QString path = TempPath(name);
        const QString suffix = QFileInfo(name).suffix();
        bool written = false;
        if (suffix == QLatin1String("svg"))
            written = picturefiles::WriteFile(path, picturefiles::HalfBlackSvg(size, half));
        else if (suffix == QLatin1String("pdf"))
            written = picturefiles::WritePdf(path, QSizeF(size), {half == Half::Left ? Half::Right : Half::Left, half});
        else
            written = picturefiles::Save(picturefiles::HalfBlack(size, half), path, suffix == "jpg" ? "jpeg" : "png");
        EXPECT_TRUE(written) << name.toStdString();
        return path;
    }

    void Drop(const QString& path)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        // The drop goes where the drag was taken in.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Frame(), &drop);
    }

    // The new logo: 576 x 240, 1-bit, unsaved but modified, bound to WGJ33,
    // named after the picture, black on the given half.
    void ExpectNewLogo(CGlyphaneDoc* doc, const QString& picture, Half half)
    {
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(doc->Picture().GetLogoBitmap()->size(), QSize(576, 240));
        EXPECT_TRUE(doc->Binding().IsMonochrome());
        EXPECT_EQ(doc->Binding().GetPrinterModel(), QStringLiteral("WGJ33"));
        EXPECT_TRUE(doc->Binding().GetPrinterCfg()->IsLoaded());
        EXPECT_TRUE(doc->GetPathName().isEmpty());
        EXPECT_TRUE(doc->IsModified());
        const QFileInfo info(picture);
        EXPECT_EQ(doc->GetTitle(), info.completeBaseName() + QStringLiteral(".bmp"));
        EXPECT_EQ(doc->SuggestedFile(), info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".bmp")));
        EXPECT_TRUE(picturefiles::LooksHalfBlack(*doc->Picture().GetLogoBitmap(), half));
    }
};

} // namespace

TEST_F(ConvertPictureTest, APictureThroughEveryDoorBecomesANewUnsavedLogoForThePrinter)
{
    const struct {
        const char* door;
        const char* picture;
        std::function<void(ConvertPictureTest&, const QString&)> open;
    } doors[] = {
        {"command line", "shop.png", [](ConvertPictureTest&, const QString& p) { GetApp()->OpenDocumentFile(p); }},
        {"File > Open", "shop.jpg", [](ConvertPictureTest&, const QString&) { GetApp()->OnCommand(ID_FILE_OPEN); }},
        {"drop", "shop.svg", [](ConvertPictureTest& t, const QString& p) { t.Drop(p); }},
        {"recent files", "shop.pdf",
         [](ConvertPictureTest& t, const QString& p) {
             t.Frame()->AddToRecentFileList(p);
             t.Frame()->OnCommand(ID_FILE_MRU_FILE1);
         }},
    };
    for (const auto& door : doors) {
        SCOPED_TRACE(door.door);
        const QString path = WritePicture(QLatin1String(door.picture));
        const int before = Windows();
        ScriptedUi ui;
        if (QLatin1String(door.door) == QLatin1String("File > Open"))
            ui.Then([path](CUiPrompt& prompt, QDialog*) {
                // The logo files first, then every picture.
                EXPECT_TRUE(prompt.filter.startsWith(QStringLiteral("BMP files (*.bmp)|*.bmp|Pictures (*.png;*.jpg;")));
                EXPECT_TRUE(prompt.filter.contains(QStringLiteral("*.svg;*.pdf")));
                prompt.fileName = path;
            });
        // The PDF's second page is the one black on the left (the others have one page).
        ui.Then(Convert([](CConvertPictureDlg& d) { Find<QSpinBox>(&d, "page")->setValue(2); }));
        door.open(*this, path);
        QCoreApplication::processEvents();
        EXPECT_EQ(ui.Pending(), 0u);
        ASSERT_EQ(Windows(), before + 1);
        ExpectNewLogo(LastDocument(), path, Half::Left);
        EXPECT_EQ(Frame()->RecentFiles().value(0), QFileInfo(path).absoluteFilePath());
        EXPECT_TRUE(dialogtest::MessagesOf(ui).empty());
    }
}

TEST_F(ConvertPictureTest, ThePreviewIsThePrintersPaperAndFollowsEveryControl)
{
    // Not of the area's proportions, so fit and placement show.
    const QString path = WritePicture(QStringLiteral("photo.png"), Half::Left, QSize(100, 60));
    ScriptedUi ui;
    QImage accepted;
    ui.Then(Convert([&](CConvertPictureDlg& d) {
        d.UpdateNow();
        const auto strip = [&] { return d.PreviewView()->Strip(); };
        // One dot a pixel, on a strip of the printer's width with paper above and below.
        EXPECT_EQ(strip(), PaperStrip(d.Logo(), 576));
        EXPECT_EQ(strip().size(), QSize(576, 240 + 2 * kPaperMarginDots));
        EXPECT_EQ(d.PreviewView()->Rendered().size(), strip().size() * d.PreviewView()->DevicePixelsPerDot());
        EXPECT_EQ(d.Status(), QStringLiteral("WGJ33, logo area 576 x 240 dots, one dot a pixel"));

        const QImage thresholded = d.Logo();
        for (const auto& change : std::vector<std::function<void()>>{
                 [&] { Find<QCheckBox>(&d, "invert")->setChecked(true); },
                 [&] { Find<QSlider>(&d, "brightness")->setValue(40); },
                 [&] { Choose(&d, "fit", QStringLiteral("within")); },
                 [&] { Choose(&d, "placement", QStringLiteral("left")); },
             }) {
            const QImage before = d.Logo();
            change();
            QCoreApplication::processEvents(); // the preview follows at the next turn
            EXPECT_NE(d.Logo(), before);
            EXPECT_EQ(strip(), PaperStrip(d.Logo(), 576));
        }
        EXPECT_NE(d.Logo(), thresholded);
        // The threshold is there for the methods that decide by it.
        Choose(&d, "method", QStringLiteral("ordered-4x4"));
        QCoreApplication::processEvents();
        EXPECT_FALSE(Find<QSlider>(&d, "threshold")->isEnabled());
        EXPECT_FALSE(Find<QCheckBox>(&d, "serpentine")->isEnabled());

        // Four methods side by side at the same settings; a click takes one.
        Find<QCheckBox>(&d, "compare")->setChecked(true);
        Choose(&d, "compareMethod2", QStringLiteral("stucki"));
        QCoreApplication::processEvents();
        const char* compared[] = {"threshold", "stucki", "atkinson", "ordered-8x8"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(d.CompareView(i)->isVisible()) << i;
            EXPECT_EQ(d.CompareView(i)->Strip().size(), QSize(576, 288)) << i;
        }
        EXPECT_NE(d.CompareView(1)->Strip(), d.CompareView(3)->Strip());
        QTest::mouseClick(d.CompareView(1), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(Find<QComboBox>(&d, "method")->currentData().toString(), QLatin1String(compared[1]));
        EXPECT_EQ(d.PreviewView()->Strip(), d.CompareView(1)->Strip());
        accepted = d.Logo();
    }));
    GetApp()->OpenDocumentFile(path);
    CGlyphaneDoc* doc = LastDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(*doc->Picture().GetLogoBitmap(), accepted) << "the logo is the preview's dots";

    // Kept for the next picture.
    auto profile = Profile();
    profile->beginGroup(QStringLiteral("Convert Picture"));
    EXPECT_EQ(profile->value("Model").toString(), QStringLiteral("WGJ33"));
    EXPECT_EQ(profile->value("Method").toString(), QStringLiteral("stucki"));
    EXPECT_EQ(profile->value("Brightness").toInt(), 40);
    EXPECT_EQ(profile->value("Fit").toString(), QStringLiteral("within"));
    EXPECT_EQ(profile->value("Compared").toString(), QStringLiteral("threshold,stucki,atkinson,ordered-8x8"));
    QString methodShown, brightnessShown;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        methodShown = Find<QComboBox>(d, "method")->currentData().toString();
        brightnessShown = QString::number(Find<QSlider>(d, "brightness")->value());
        p.result = IDCANCEL;
    });
    GetApp()->OpenDocumentFile(WritePicture(QStringLiteral("next.png")));
    EXPECT_EQ(methodShown, QStringLiteral("stucki"));
    EXPECT_EQ(brightnessShown, QStringLiteral("40"));
}

TEST_F(ConvertPictureTest, CancelAndBadPicturesLeaveEverythingAsItWas)
{
    const QString png = WritePicture(QStringLiteral("logo.png"));
    Frame()->AddToRecentFileList(png);
    ScriptedUi ui;
    ui.Then(Convert({}, IDCANCEL));
    Frame()->OnCommand(ID_FILE_MRU_FILE1);
    EXPECT_EQ(Windows(), 0);
    EXPECT_EQ(Frame()->RecentFiles(), QStringList{QFileInfo(png).absoluteFilePath()}) << "a cancel keeps the entry";
    EXPECT_FALSE(Profile()->contains(QStringLiteral("Convert Picture/Method")));

    // One message naming the file and the reason; no dialog, no window.
    const QString cut = TempPath(QStringLiteral("cut.png"));
    QFile whole(png);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_TRUE(picturefiles::WriteFile(cut, whole.read(whole.size() / 2)));
    ASSERT_TRUE(picturefiles::WriteFile(TempPath(QStringLiteral("locked.pdf")), picturefiles::PasswordPdf()));
    const struct {
        QString path;
        QString message;
    } bad[] = {
        {cut, cut + QStringLiteral(" cannot be opened: the file is cut short")},
        {TempPath(QStringLiteral("locked.pdf")),
         TempPath(QStringLiteral("locked.pdf")) + QStringLiteral(" cannot be opened: the PDF is protected by a password")},
    };
    for (const auto& b : bad) {
        ScriptedUi refusal;
        refusal.Answer(IDOK);
        EXPECT_EQ(GetApp()->OpenDocumentFile(b.path), nullptr);
        ASSERT_EQ(refusal.Prompts().size(), 1u);
        EXPECT_EQ(refusal.Prompts()[0].kind, UiPromptKind::MessageBox);
        EXPECT_EQ(refusal.Prompts()[0].text, b.message);
    }
    EXPECT_EQ(Windows(), 0);
    EXPECT_EQ(Frame()->RecentFiles().size(), 1);
}

TEST_F(ConvertPictureTest, BmpFilesOpenAsBeforeAndTheOpenLogoConvertsIntoANewOne)
{
    // A colour BMP is a logo to be made black and white, as it always was.
    const QString bmp = TempPath(QStringLiteral("colour.bmp"));
    ASSERT_TRUE(picturefiles::Save(picturefiles::HalfBlack(QSize(64, 32), Half::Right, QImage::Format_RGB888), bmp, "bmp"));
    ScriptedUi ui;
    CGlyphaneDoc* colour = GetApp()->OpenDocumentFile(bmp);
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(ui.Prompts().empty()) << "no dialog for a BMP";
    EXPECT_FALSE(colour->Binding().IsMonochrome());
    const QImage before = *colour->Picture().GetLogoBitmap();

    CGlyphaneView* view = Frame()->ChildFrames().last()->GetView();
    ASSERT_NE(view, nullptr);
    CCmdUI state(ID_IMAGE_CONVERT_PICTURE);
    view->OnUpdateCommand(ID_IMAGE_CONVERT_PICTURE, state);
    EXPECT_TRUE(state.enabled());
    ui.Then(Convert());
    EXPECT_TRUE(view->OnCommand(ID_IMAGE_CONVERT_PICTURE));
    ASSERT_EQ(Windows(), 2);
    ExpectNewLogo(LastDocument(), bmp, Half::Right);
    EXPECT_EQ(*colour->Picture().GetLogoBitmap(), before) << "the open logo stays as it is";

    // Save asks where, offering the picture's folder and name.
    ui.Then([](CUiPrompt& p, QDialog*) { p.fileName.clear(); });
    LastDocument()->OnCommand(ID_FILE_SAVE);
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(ui.Prompts().back().kind, UiPromptKind::SaveFile);
    EXPECT_EQ(ui.Prompts().back().directory, TempPath(QStringLiteral("colour.bmp")));
}

// The documentation's picture of the dialog: run under a display server with
// GLYPHANE_DOC_SHOTS naming the output folder, absolute (the test runs in a
// folder of its own; skipped otherwise), e.g.
//   GLYPHANE_DOC_SHOTS=$PWD/docs/screenshots QT_QPA_PLATFORM=xcb
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/test_dialogs --gtest_filter='*DocumentationScreenshot*'
TEST_F(ConvertPictureTest, DocumentationScreenshot)
{
    const QString folder = qEnvironmentVariable("GLYPHANE_DOC_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set GLYPHANE_DOC_SHOTS to make the screenshot";
    // A shop's artwork as a designer sends it: shaded shapes and lettering.
    const QByteArray svg = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="330" height="125" viewBox="0 0 330 125">
  <defs>
    <radialGradient id="sun" cx="0.4" cy="0.35" r="0.7"><stop offset="0" stop-color="#ffd27a"/><stop offset="1" stop-color="#b3401a"/></radialGradient>
    <linearGradient id="band" x1="0" x2="1"><stop offset="0" stop-color="#1d3557"/><stop offset="1" stop-color="#a8dadc"/></linearGradient>
  </defs>
  <circle cx="62" cy="62" r="54" fill="url(#sun)"/>
  <path d="M30 84 Q62 40 94 84 Z" fill="#264653" opacity="0.85"/>
  <rect x="128" y="78" width="160" height="12" rx="6" fill="url(#band)"/>
  <text x="128" y="64" font-family="DejaVu Sans" font-weight="bold" font-size="36" fill="#222">BAKERY</text>
  <text x="130" y="112" font-family="DejaVu Serif" font-style="italic" font-size="17" fill="#555">fresh every morning</text>
</svg>)svg";
    const QString path = TempPath(QStringLiteral("bakery.svg"));
    ASSERT_TRUE(picturefiles::WriteFile(path, svg));
    ScriptedUi ui;
    ui.Then([&](CUiPrompt& p, QDialog* d) {
        Choose(d, "printerModel", QStringLiteral("WGJ33"));
        Choose(d, "fit", QStringLiteral("within"));
        Choose(d, "method", QStringLiteral("floyd-steinberg"));
        Find<QCheckBox>(d, "compare")->setChecked(true);
        Choose(d, "compareMethod1", QStringLiteral("auto-threshold"));
        qobject_cast<CConvertPictureDlg*>(d)->UpdateNow();
        d->resize(1580, 980);
        d->show();
        QTest::qWait(400);
        EXPECT_TRUE(d->grab().save(folder + QStringLiteral("/convert-picture.png")));
        p.result = IDCANCEL;
    });
    GetApp()->OpenDocumentFile(path);
}
