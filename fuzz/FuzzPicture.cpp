// The picture opener's own readers of untrusted bytes: the walks that tell a
// PNG, JPEG or GIF cut short, and the SVG made self-contained. Any bytes must
// end in an answer, never in a crash or a read outside them; an SVG that is
// kept must parse again, keep no reference outside itself and still be an SVG.
#include "FuzzSupport.h"

#include "picture/PictureIntegrity.h"
#include "picture/SvgSafety.h"

#include <QXmlStreamReader>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::SilenceQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray file = fuzzsupport::Bytes(data, size);
    picture::PngComplete(file);
    picture::JpegComplete(file);
    picture::GifFirstFrameComplete(file);

    const picture::CSvgCheck check = picture::SelfContainedSvg(file);
    FUZZ_CHECK(check.document.isEmpty() != check.why.isEmpty());
    if (check.document.isEmpty())
        return 0;
    FUZZ_CHECK(check.isSvg);
    QXmlStreamReader again(check.document);
    bool root = true;
    while (!again.atEnd()) {
        if (again.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (root)
            FUZZ_CHECK(again.name() == QLatin1String("svg"));
        root = false;
        for (const QXmlStreamAttribute& attribute : again.attributes())
            if (attribute.name() == QLatin1String("href"))
                FUZZ_CHECK(picture::IsInsideReference(attribute.value().toString()));
    }
    FUZZ_CHECK(!again.hasError());
    return 0;
}
