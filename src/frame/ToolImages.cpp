#include "frame/ToolImages.h"

#include "frame/DeferredIcon.h"
#include "frame/ToolImageAtlas.h"
#include "resources/CommandIds.h"

#include <QGuiApplication>
#include <QPixmap>
#include <algorithm>
#include <cstring>

namespace {

QString ThemeNameOf(UINT commandId)
{
    switch (commandId) {
    case ID_FILE_NEW: return QStringLiteral("document-new");
    case ID_FILE_OPEN: return QStringLiteral("document-open");
    case ID_FILE_SAVE: return QStringLiteral("document-save");
    case ID_EDIT_CUT: return QStringLiteral("edit-cut");
    case ID_EDIT_COPY: return QStringLiteral("edit-copy");
    case ID_EDIT_PASTE: return QStringLiteral("edit-paste");
    case ID_EDIT_UNDO: return QStringLiteral("edit-undo");
    case ID_FILE_PRINT: return QStringLiteral("document-print");
    case ID_APP_ABOUT: return QStringLiteral("help-about");
    case ID_WEB_LINK: return QStringLiteral("web-browser");
    default: return QString();
    }
}

// The image of a command as built into the program, sharing its pixels; a
// fresh drawing for an id the bake did not see.
QImage ToolImageCell(UINT commandId)
{
    const std::span<const BakedToolImage> baked = BakedToolImages();
    const auto it = std::lower_bound(baked.begin(), baked.end(), commandId,
                                     [](const BakedToolImage& image, UINT id) { return image.commandId < id; });
    if (it == baked.end() || it->commandId != commandId)
        return DrawnToolImage(commandId);
    return QImage(reinterpret_cast<const uchar*>(it->pixels), kToolImageWidth, kToolImageHeight,
                  kToolImageWidth * static_cast<int>(sizeof(QRgb)), QImage::Format_ARGB32);
}

} // namespace

QImage ToolButtonImage(UINT commandId, bool colour, qreal ratio)
{
    if (ratio != 1) {
        const QImage drawn = DrawnToolImage(commandId, ratio);
        return colour ? drawn : GreyToolImageOf(drawn);
    }
    const QImage cell = ToolImageCell(commandId);
    // A copy: the baked pixels are the program's own, never written.
    return colour ? cell.copy() : GreyToolImageOf(cell);
}

QIcon ToolButtonIcon(UINT commandId, bool colour)
{
    QIcon icon(QPixmap::fromImage(ToolButtonImage(commandId, colour)));
    // The highest ratio of the screens: a window on a screen of a lower one
    // gets the picture scaled down, which stays sharp. At a ratio of 1 (the
    // usual screen) nothing is drawn while the program starts.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1;
    if (ratio > 1)
        icon.addPixmap(QPixmap::fromImage(ToolButtonImage(commandId, colour, ratio)));
    return icon;
}

QImage ToolStrip(const std::vector<UINT>& commandIds, bool colour)
{
    QImage strip(kToolImageWidth * static_cast<int>(commandIds.size()), kToolImageHeight, QImage::Format_ARGB32);
    for (size_t i = 0; i < commandIds.size(); ++i) {
        const QImage cell = ToolImageCell(commandIds[i]);
        const size_t rowBytes = kToolImageWidth * sizeof(QRgb);
        for (int y = 0; y < kToolImageHeight; ++y)
            std::memcpy(strip.scanLine(y) + i * rowBytes, cell.constScanLine(y), rowBytes);
    }
    return colour ? strip : GreyToolImageOf(strip);
}

QIcon StandardToolIcon(UINT commandId)
{
    // Made when a button first shows it: the desktop theme's icons mostly
    // replace these before the window is first painted.
    return DeferredIcon([commandId] { return ToolButtonIcon(commandId, true); });
}

QIcon ThemeToolIcon(UINT commandId)
{
    const QString themeName = ThemeNameOf(commandId);
    if (themeName.isEmpty() || !QIcon::hasThemeIcon(themeName))
        return {};
    return QIcon::fromTheme(themeName);
}

bool IsGreyImage(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            if (qAlpha(px) != 0 && (qRed(px) != qGreen(px) || qGreen(px) != qBlue(px)))
                return false;
        }
    return true;
}
