// PDF pages, drawn by the glyphane-pdf module (picture/PdfPages.h), which is
// loaded the first time a PDF is opened.
#include "picture/PictureDrawing.h"

#include "picture/PdfPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QStringList>

#include <cmath>

namespace picture {

namespace {

using OpenFunction = IPdfPages* (*)(const QByteArray&, QString*);

// Beside the program (a build tree, the tests) or in the installed library
// folder (bin/../lib/glyphane, or an absolute library folder as configured).
QStringList ModuleCandidates()
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString libDir = QStringLiteral(GLYPHANE_INSTALL_LIBDIR);
    const QString installed = QDir::isAbsolutePath(libDir) ? libDir : dir + QStringLiteral("/../") + libDir;
    return {dir + QStringLiteral("/libglyphane-pdf.so"), installed + QStringLiteral("/glyphane/libglyphane-pdf.so")};
}

// The module's entry, loaded once for the rest of the run; null with why.
OpenFunction PdfModule(QString* why)
{
    static OpenFunction open = nullptr;
    static QString failure;
    if (!open && failure.isEmpty()) {
        QStringList tried;
        for (const QString& path : ModuleCandidates()) {
            QLibrary module(path);
            if ((open = reinterpret_cast<OpenFunction>(module.resolve("GlyphaneOpenPdf"))))
                break;
            tried.append(module.errorString());
        }
        if (!open)
            failure = tried.join(QStringLiteral("; "));
    }
    if (!open)
        *why = QStringLiteral("PDF pages cannot be drawn here: the PDF module could not be loaded (%1)").arg(failure);
    return open;
}

class CPdfDrawing : public CPictureDrawing {
public:
    explicit CPdfDrawing(IPdfPages* pages) : m_pages(pages) {}

    QString FormatName() const override { return QStringLiteral("PDF"); }
    bool IsVector() const override { return true; }
    int PageCount() const override { return m_pages->PageCount(); }

    QSize NaturalSize(int page) const override
    {
        const QSizeF points = m_pages->PagePoints(page - 1);
        return QSize(std::max(1, static_cast<int>(std::lround(points.width()))),
                     std::max(1, static_cast<int>(std::lround(points.height()))));
    }

    QImage Draw(int page, const CFitPlan& plan, QString* why) override
    {
        if (page < 1 || page > PageCount()) {
            *why = QStringLiteral("the PDF has no page %1 (it has %2)").arg(page).arg(PageCount());
            return QImage();
        }
        if (DrawnSizeRefused(plan, why))
            return QImage();
        const QImage image = m_pages->Render(page - 1, plan.drawn);
        if (image.isNull()) {
            *why = QStringLiteral("page %1 of the PDF cannot be drawn").arg(page);
            return QImage();
        }
        return plan.visible == image.rect() ? image : image.copy(plan.visible);
    }

private:
    std::unique_ptr<IPdfPages> m_pages;
};

} // namespace

std::unique_ptr<CPictureDrawing> OpenPdf(const QByteArray& bytes, QString* why)
{
    const OpenFunction open = PdfModule(why);
    if (!open)
        return nullptr;
    IPdfPages* pages = open(bytes, why);
    if (!pages)
        return nullptr;
    return std::make_unique<CPdfDrawing>(pages);
}

} // namespace picture
