#include "picture/SvgSafety.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace picture {

namespace {

// The raster pictures a data address may hold, told by their first bytes.
bool IsEmbeddedRaster(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG") || bytes.startsWith("\xFF\xD8\xFF") || bytes.startsWith("GIF8")
           || bytes.startsWith("BM") || (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP");
}

QByteArray DataAddressPayload(const QString& value)
{
    const qsizetype comma = value.indexOf(u',');
    if (comma < 0)
        return QByteArray();
    const QString header = value.left(comma);
    const QByteArray payload = value.mid(comma + 1).toLatin1();
    if (header.endsWith(QLatin1String(";base64"), Qt::CaseInsensitive))
        return QByteArray::fromBase64(payload.simplified().replace(' ', QByteArray()));
    return QByteArray::fromPercentEncoding(payload);
}

// An <image> of a file or an address: left out whole (left without its
// reference it would only draw nothing, with a warning).
bool IsPictureFromOutside(const QXmlStreamReader& reader)
{
    if (reader.name() != QLatin1String("image"))
        return false;
    for (const QXmlStreamAttribute& attribute : reader.attributes())
        if (attribute.name() == QLatin1String("href") && !IsInsideReference(attribute.value().toString()))
            return true;
    return false;
}

void CopyStartElement(const QXmlStreamReader& reader, QXmlStreamWriter& writer)
{
    writer.writeStartElement(reader.qualifiedName().toString());
    for (const QXmlStreamNamespaceDeclaration& ns : reader.namespaceDeclarations()) {
        const QString prefix = ns.prefix().toString();
        writer.writeAttribute(prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix,
                              ns.namespaceUri().toString());
    }
    for (const QXmlStreamAttribute& attribute : reader.attributes()) {
        if (attribute.name() == QLatin1String("href") && !IsInsideReference(attribute.value().toString()))
            continue;
        writer.writeAttribute(attribute.qualifiedName().toString(), attribute.value().toString());
    }
}

} // namespace

bool IsInsideReference(const QString& value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.startsWith(u'#'))
        return true;
    if (!trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return false;
    return IsEmbeddedRaster(DataAddressPayload(trimmed));
}

CSvgCheck SelfContainedSvg(const QByteArray& svg)
{
    CSvgCheck check;
    QXmlStreamReader reader(svg);
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.writeStartDocument();
    bool sawRoot = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (!sawRoot) {
                sawRoot = true;
                check.isSvg = reader.name() == QLatin1String("svg");
                if (!check.isSvg) {
                    check.why = QStringLiteral("it isn't a picture (its XML is not an SVG drawing)");
                    return check;
                }
            }
            if (IsPictureFromOutside(reader)) {
                reader.skipCurrentElement(); // its end element included
                break;
            }
            CopyStartElement(reader, writer);
            break;
        case QXmlStreamReader::EndElement:
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (reader.isCDATA())
                writer.writeCDATA(reader.text().toString());
            else
                writer.writeCharacters(reader.text().toString());
            break;
        default: // the document's start and end, DTD, comments, processing instructions
            break;
        }
    }
    if (reader.hasError()) {
        check.why = reader.error() == QXmlStreamReader::PrematureEndOfDocumentError
                        ? QStringLiteral("the file is cut short")
                        : QStringLiteral("the SVG cannot be parsed: %1 (line %2)")
                              .arg(reader.errorString())
                              .arg(reader.lineNumber());
        return check;
    }
    writer.writeEndDocument();
    check.document = out;
    return check;
}

} // namespace picture
