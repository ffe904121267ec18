// glyphane-bake-tool-images <output.cpp>
//
// Draws every tool image of the UI library's art and writes the pixels as the
// source file behind frame/ToolImageAtlas.h, so the program copies them at
// its start instead of drawing them. Run by the build; the file is written
// whole or not at all.
#include "frame/ToolArt.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <cstdio>

namespace {

QByteArray AtlasSource()
{
    QByteArray out;
    out += "// Written by glyphane-bake-tool-images from src/frame/ToolArt.cpp when the\n"
           "// program is built; not kept in the source tree.\n"
           "#include \"frame/ToolImageAtlas.h\"\n\n"
           "namespace {\n\n";
    const std::vector<UINT> ids = ToolArtIds();
    for (UINT id : ids) {
        const QImage image = DrawnToolImage(id).convertToFormat(QImage::Format_ARGB32);
        out += "const QRgb kImage" + QByteArray::number(id) + "[] = {";
        for (int y = 0; y < image.height(); ++y) {
            out += "\n   ";
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x)
                out += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + "u,";
        }
        out += "\n};\n";
    }
    out += "\nconst BakedToolImage kBaked[] = {\n";
    for (UINT id : ids)
        out += "    {" + QByteArray::number(id) + "u, kImage" + QByteArray::number(id) + "},\n";
    out += "};\n\n} // namespace\n\n"
           "std::span<const BakedToolImage> BakedToolImages()\n{\n    return kBaked;\n}\n";
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyphane-bake-tool-images <output.cpp>\n");
        return 2;
    }
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(AtlasSource()) < 0 || !file.commit()) {
        std::fprintf(stderr, "glyphane-bake-tool-images: cannot write %s: %s\n", argv[1],
                     qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
