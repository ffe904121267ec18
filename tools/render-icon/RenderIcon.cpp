// glyphane-render-icon: draws the program's SVG icon at the sizes of the
// hicolor theme, at build time, so only the drawing itself is kept in the
// sources.
//
//   glyphane-render-icon ICON.svg OUT_DIR NAME SIZE...
//
// writes OUT_DIR/hicolor/SIZExSIZE/apps/NAME.png for each size. Qt's SVG
// image plugin does the drawing.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTextStream>

namespace {

bool Render(const QString& svg, int size, const QString& target, QString* why)
{
    QImageReader reader(svg, "svg");
    reader.setScaledSize(QSize(size, size));
    QImage image;
    if (!reader.read(&image)) {
        *why = QStringLiteral("%1 cannot be drawn: %2").arg(svg, reader.errorString());
        return false;
    }
    if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !image.save(target, "PNG")) {
        *why = QStringLiteral("%1 cannot be written").arg(target);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        err << "usage: glyphane-render-icon ICON.svg OUT_DIR NAME SIZE...\n";
        return 2;
    }
    for (int i = 4; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        const QString target = QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(args[2]).arg(size).arg(args[3]);
        QString why;
        if (!ok || size <= 0) {
            err << "glyphane-render-icon: bad size " << args[i] << "\n";
            return 2;
        }
        if (!Render(args[1], size, target, &why)) {
            err << "glyphane-render-icon: " << why << "\n";
            return 1;
        }
    }
    return 0;
}
