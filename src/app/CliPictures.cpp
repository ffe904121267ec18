#include "app/CliPictures.h"

#include "document/GlyphaneDoc.h"
#include "picture/Picture.h"

namespace cli {

namespace {

int IntegerOption(const CArgs& a, const QString& name, int low, int high, int absent)
{
    if (!a.Has(name))
        return absent;
    bool ok = false;
    const int value = a.Value(name).toInt(&ok);
    if (!ok || value < low || value > high)
        throw Refusal{QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high)};
    return value;
}

double GammaOption(const CArgs& a)
{
    if (!a.Has(QStringLiteral("gamma")))
        return 1.0;
    bool ok = false;
    const double gamma = a.Value(QStringLiteral("gamma")).toDouble(&ok);
    if (!ok || gamma < picture::CTone::kMinGamma || gamma > picture::CTone::kMaxGamma)
        throw Refusal{QStringLiteral("--gamma takes a number from 0.1 to 10")};
    return gamma;
}

} // namespace

QStringList PictureFlags()
{
    return {QStringLiteral("invert"), QStringLiteral("serpentine")};
}

QStringList PictureOptions()
{
    return {QStringLiteral("fit"),        QStringLiteral("placement"), QStringLiteral("method"),
            QStringLiteral("threshold"),  QStringLiteral("brightness"), QStringLiteral("contrast"),
            QStringLiteral("gamma"),      QStringLiteral("page")};
}

dither::Method MethodOption(const CArgs& a)
{
    if (!a.Has(QStringLiteral("method")))
        return dither::Method::FloydSteinberg;
    const std::optional<dither::Method> method = dither::MethodNamed(a.Value(QStringLiteral("method")));
    if (!method)
        throw Refusal{QStringLiteral("--method takes %1").arg(dither::MethodNames())};
    return *method;
}

int ThresholdOption(const CArgs& a)
{
    return IntegerOption(a, QStringLiteral("threshold"), 0, 255, 128);
}

picture::CPictureSettings PictureSettingsOf(const CArgs& a)
{
    picture::CPictureSettings settings;
    if (a.Has(QStringLiteral("fit"))) {
        const std::optional<picture::Fit> fit = picture::FitNamed(a.Value(QStringLiteral("fit")));
        if (!fit)
            throw Refusal{QStringLiteral("--fit takes within, width, original or stretch")};
        settings.fit = *fit;
    }
    if (a.Has(QStringLiteral("placement"))) {
        const std::optional<picture::Placement> placement = picture::PlacementNamed(a.Value(QStringLiteral("placement")));
        if (!placement)
            throw Refusal{QStringLiteral("--placement takes center or left")};
        settings.placement = *placement;
    }
    settings.method = {MethodOption(a), ThresholdOption(a), a.Has(QStringLiteral("serpentine"))};
    settings.tone.brightness = IntegerOption(a, QStringLiteral("brightness"), picture::CTone::kMinLevel,
                                             picture::CTone::kMaxLevel, 0);
    settings.tone.contrast = IntegerOption(a, QStringLiteral("contrast"), picture::CTone::kMinLevel,
                                           picture::CTone::kMaxLevel, 0);
    settings.tone.gamma = GammaOption(a);
    settings.tone.invert = a.Has(QStringLiteral("invert"));
    settings.page = IntegerOption(a, QStringLiteral("page"), 1, 1000000, 1);
    return settings;
}

void MakeLogoFromPicture(CGlyphaneDoc& doc, const CPrinterChoice& printer, const QString& path,
                         const picture::CPictureSettings& settings)
{
    QString message;
    const std::optional<picture::CPicture> opened = picture::OpenPicture(path, &message);
    if (!opened)
        throw Refusal{message};
    if (settings.page > opened->PageCount())
        throw Refusal{picture::PictureFailure(
            path, QStringLiteral("it has no page %1 (it has %2)").arg(settings.page).arg(opened->PageCount()))};
    // The printer's area first: the picture is drawn for it.
    const QString failure = doc.Binding().BindPrinter(printer);
    if (!failure.isEmpty())
        throw Refusal{QStringLiteral("%1: %2").arg(printer.model, failure)};
    picture::CPictureConversion conversion(*opened);
    QString why;
    const QImage logo = conversion.Convert(QSize(doc.Binding().GetDotX(), doc.Binding().GetDotY()), settings, &why);
    if (logo.isNull())
        throw Refusal{picture::PictureFailure(path, why)};
    if (!doc.OnNewDocumentFromPicture(printer, logo))
        throw Refusal{QStringLiteral("%1: no logo can be made for this printer").arg(printer.model)};
}

} // namespace cli
