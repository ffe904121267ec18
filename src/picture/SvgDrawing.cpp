// SVG drawings: made self-contained (picture/SvgSafety.h), then drawn by Qt's
// SVG image plugin, loaded on demand, straight at the size asked for.
#include "picture/PictureDrawing.h"

#include "picture/SvgSafety.h"

#include <QBuffer>
#include <QImageReader>

namespace picture {

namespace {

class CSvgDrawing : public CPictureDrawing {
public:
    CSvgDrawing(const QByteArray& document, QSize natural) : m_document(document), m_natural(natural) {}

    QString FormatName() const override { return QStringLiteral("SVG"); }
    bool IsVector() const override { return true; }
    QSize NaturalSize(int) const override { return m_natural; }

    QImage Draw(int, const CFitPlan& plan, QString* why) override
    {
        if (DrawnSizeRefused(plan, why))
            return QImage();
        QByteArray document = m_document;
        QBuffer buffer(&document);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "svg");
        reader.setScaledSize(plan.drawn);
        QImage image;
        if (!reader.read(&image) || image.isNull()) {
            *why = QStringLiteral("the SVG cannot be drawn (%1)").arg(reader.errorString());
            return QImage();
        }
        return plan.visible == image.rect() ? image : image.copy(plan.visible);
    }

private:
    QByteArray m_document;
    QSize m_natural;
};

} // namespace

std::unique_ptr<CPictureDrawing> OpenSvg(const QByteArray& bytes, QString* why, bool*)
{
    if (!QImageReader::supportedImageFormats().contains("svg")) {
        *why = QStringLiteral("SVG drawings cannot be read here: Qt's SVG image plugin (Debian's libqt6svg6) is missing");
        return nullptr;
    }
    CSvgCheck check = SelfContainedSvg(bytes);
    if (check.document.isEmpty()) {
        *why = check.why;
        return nullptr;
    }
    QBuffer buffer(&check.document);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "svg");
    const QSize natural = reader.size();
    if (!natural.isValid() || natural.isEmpty()) {
        *why = QStringLiteral("the SVG cannot be parsed: the SVG renderer refuses it");
        return nullptr;
    }
    return std::make_unique<CSvgDrawing>(check.document, natural);
}

} // namespace picture
