#include "frame/ToolArt.h"

#include "resources/CommandIds.h"
#include "resources/FillPatterns.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <functional>

namespace {

// The few colours the images use.
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kShade(128, 128, 128);
const QColor kBlue(0, 96, 192);
const QColor kRed(200, 0, 0);
const QColor kYellow(240, 200, 0);
const QColor kGreen(0, 144, 48);
const QColor kBrown(150, 90, 30);
const QColor kPink(240, 150, 170);

using Drawer = std::function<void(QPainter&)>;

void Outline(QPainter& p, const QRect& r, const QColor& fill)
{
    p.setPen(kInk);
    p.setBrush(fill);
    p.drawRect(r); // a QPainter rectangle covers one pixel more than its size: intended here
}

void Line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c, int width = 1)
{
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(x1, y1, x2, y2);
}

void Polygon(QPainter& p, const QPolygon& poly, const QColor& fill)
{
    p.setPen(kInk);
    p.setBrush(fill);
    p.drawPolygon(poly);
}

void Magnifier(QPainter& p, bool plus)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QRect(1, 1, 9, 9));
    Line(p, 9, 9, 13, 13, kBrown, 2);
    Line(p, 3, 5, 8, 5, kInk);
    if (plus)
        Line(p, 5, 3, 5, 8, kInk);
}

void Page(QPainter& p, const QRect& r)
{
    Polygon(p, QPolygon({r.topLeft(), QPoint(r.right() - 3, r.top()), QPoint(r.right(), r.top() + 3), r.bottomRight(),
                         r.bottomLeft()}),
            kPaper);
    Line(p, r.right() - 3, r.top(), r.right() - 3, r.top() + 3, kInk);
    Line(p, r.right() - 3, r.top() + 3, r.right(), r.top() + 3, kInk);
}

void Printer(QPainter& p, const QColor& light)
{
    Outline(p, QRect(4, 1, 7, 4), kPaper);       // paper in
    Outline(p, QRect(1, 5, 13, 5), kShade);      // body
    Outline(p, QRect(4, 10, 7, 4), kPaper);      // paper out
    p.fillRect(QRect(11, 7, 2, 1), light);       // status light
}

void Clipboard(QPainter& p)
{
    Outline(p, QRect(1, 2, 10, 12), kBrown);
    Outline(p, QRect(4, 1, 4, 2), kShade);
}

void Frame(QPainter& p, int thickness, bool twice)
{
    p.fillRect(QRect(1, 1, 14, 13), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    for (int i = 0; i < thickness; ++i) {
        p.setPen(kInk);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(1 + i, 1 + i, 13 - 2 * i, 12 - 2 * i));
    }
    if (twice)
        p.drawRect(QRect(4, 4, 7, 6));
    p.fillRect(QRect(6, 6, 4, 3), kBlue);
}

void PatternTile(QPainter& p, UINT commandId)
{
    for (const CFillPattern& pattern : FillPatterns()) {
        if (pattern.commandId != commandId)
            continue;
        // Set pixel by pixel and drawn as one picture: a rectangle per pixel
        // cost a painter call each, 182 a tile.
        QImage tile(14, 13, QImage::Format_ARGB32);
        for (int y = 0; y < tile.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
            for (int x = 0; x < tile.width(); ++x) {
                const bool white = (pattern.rows[static_cast<size_t>(y % 8)] >> (7 - x % 8)) & 1;
                line[x] = (white ? kPaper : kInk).rgba();
            }
        }
        p.drawImage(1, 1, tile);
    }
    p.setPen(kShade);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, 15, 14));
}

const QHash<UINT, Drawer>& Drawers()
{
    static const QHash<UINT, Drawer> drawers = {
        // Draw palette.
        {ID_TOOL_ERASER, [](QPainter& p) { // eraser
             Polygon(p, QPolygon({{2, 10}, {8, 4}, {13, 4}, {7, 10}}), kPink);
             Polygon(p, QPolygon({{2, 10}, {7, 10}, {7, 12}, {2, 12}}), kPaper);
             Polygon(p, QPolygon({{7, 10}, {13, 4}, {13, 6}, {7, 12}}), kPink);
         }},
        {ID_TOOL_PEN, [](QPainter& p) { // pen
             Line(p, 4, 11, 12, 3, kYellow, 3);
             Line(p, 3, 10, 11, 2, kInk);
             Line(p, 5, 12, 13, 4, kInk);
             Line(p, 2, 13, 3, 12, kInk);
         }},
        {ID_TOOL_SELECT_AREA, [](QPainter& p) { // select area
             p.setPen(QPen(kInk, 1, Qt::DashLine));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRect(1, 2, 13, 10));
         }},
        {ID_TOOL_BRUSH, [](QPainter& p) { // brush
             Line(p, 13, 1, 7, 7, kBrown, 2);
             Polygon(p, QPolygon({{6, 7}, {8, 9}, {4, 13}, {1, 13}, {2, 10}}), kInk);
         }},
        {ID_TOOL_POINTER, [](QPainter& p) { // pointer
             Polygon(p, QPolygon({{4, 1}, {4, 12}, {7, 9}, {9, 13}, {11, 12}, {9, 8}, {12, 8}}), kPaper);
         }},
        {ID_TOOL_TEXT, [](QPainter& p) { // text
             Line(p, 3, 13, 7, 2, kInk, 2);
             Line(p, 8, 2, 12, 13, kInk, 2);
             Line(p, 5, 9, 10, 9, kInk);
         }},
        {ID_ZOOM_LARGE, [](QPainter& p) { Magnifier(p, true); }},
        {ID_ZOOM_NORMAL, [](QPainter& p) { Magnifier(p, false); }},
        {ID_TOOL_FILL, [](QPainter& p) { // fill
             Polygon(p, QPolygon({{2, 7}, {7, 2}, {12, 7}, {7, 12}}), kPaper);
             p.fillRect(QRect(3, 7, 9, 1), kBlue);
             Polygon(p, QPolygon({{13, 8}, {14, 11}, {12, 11}}), kBlue);
         }},
        {ID_TOOL_LINE, [](QPainter& p) { Line(p, 2, 12, 13, 2, kInk, 1); }},
        {ID_TOOL_RECTANGLE, [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRect(2, 3, 11, 8));
         }},
        {ID_TOOL_ELLIPSE, [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRect(1, 2, 13, 10));
         }},
        // Actions palette.
        {ID_IMAGE_SELECT_ALL, [](QPainter& p) { // select all pixels
             p.fillRect(QRect(1, 1, 14, 13), QColor(200, 230, 255));
             p.setPen(QPen(kBlue, 1, Qt::DashLine));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRect(0, 0, 15, 14));
             p.fillRect(QRect(5, 4, 6, 7), kInk);
         }},
        {ID_IMAGE_REFRESH, [](QPainter& p) { // refresh view
             p.setPen(QPen(kGreen, 2));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRect(2, 2, 11, 11), 30 * 16, 300 * 16);
             Polygon(p, QPolygon({{10, 0}, {14, 4}, {10, 6}}), kGreen);
         }},
        {ID_IMAGE_CLEAR, [](QPainter& p) { // clear all pixels
             Page(p, QRect(2, 1, 11, 13));
             Line(p, 5, 5, 10, 10, kRed, 2);
             Line(p, 10, 5, 5, 10, kRed, 2);
         }},
        // Image options palette.
        {ID_REVERSE_IMAGE, [](QPainter& p) { // reverse image
             Outline(p, QRect(1, 1, 13, 12), kPaper);
             Polygon(p, QPolygon({{1, 1}, {14, 1}, {1, 13}}), kInk);
         }},
        {ID_REVERSE_ROW, [](QPainter& p) { // reverse row
             Outline(p, QRect(1, 1, 13, 12), kPaper);
             for (int y = 3; y < 13; y += 3)
                 p.fillRect(QRect(2, y, 12, 1), kInk);
             Line(p, 4, 7, 11, 7, kRed, 1);
             Polygon(p, QPolygon({{11, 5}, {13, 7}, {11, 9}}), kRed);
         }},
        {ID_REVERSE_COLOR, [](QPainter& p) { // reverse colour
             Outline(p, QRect(1, 1, 13, 12), kPaper);
             p.fillRect(QRect(2, 2, 6, 11), kInk);
             p.setPen(QPen(kBlue, 1));
             p.setBrush(Qt::NoBrush);
             p.drawRect(QRect(0, 0, 15, 14));
         }},
        // Frames palette.
        {ID_FRAME_THIN, [](QPainter& p) { Frame(p, 1, false); }},
        {ID_FRAME_BOLD, [](QPainter& p) { Frame(p, 3, false); }},
        {ID_FRAME_DOUBLE, [](QPainter& p) { Frame(p, 1, true); }},
        // Standard toolbar.
        {ID_FILE_NEW, [](QPainter& p) { Page(p, QRect(3, 1, 9, 13)); }},
        {ID_FILE_OPEN, [](QPainter& p) {
             Polygon(p, QPolygon({{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {1, 13}}), kYellow);
             Polygon(p, QPolygon({{3, 7}, {15, 7}, {12, 13}, {1, 13}}), QColor(250, 225, 100));
         }},
        {ID_FILE_SAVE, [](QPainter& p) {
             Outline(p, QRect(1, 1, 13, 13), kBlue);
             p.fillRect(QRect(4, 2, 7, 5), kPaper);
             p.fillRect(QRect(4, 9, 7, 5), kShade);
         }},
        {ID_EDIT_CUT, [](QPainter& p) {
             Line(p, 4, 1, 9, 9, kInk);
             Line(p, 11, 1, 6, 9, kInk);
             p.setPen(QPen(kRed, 1));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRect(2, 9, 4, 4));
             p.drawEllipse(QRect(9, 9, 4, 4));
         }},
        {ID_EDIT_COPY, [](QPainter& p) {
             Page(p, QRect(1, 1, 8, 9));
             Page(p, QRect(6, 5, 8, 9));
         }},
        {ID_EDIT_PASTE, [](QPainter& p) {
             Clipboard(p);
             Page(p, QRect(6, 5, 8, 9));
         }},
        {ID_EDIT_PASTE_SPECIAL, [](QPainter& p) {
             Clipboard(p);
             Page(p, QRect(6, 5, 8, 9));
             p.fillRect(QRect(8, 9, 4, 3), kRed);
         }},
        {ID_IMAGE_TO_BLACK_WHITE, [](QPainter& p) { // to black and white
             p.fillRect(QRect(1, 1, 7, 13), kYellow);
             p.fillRect(QRect(1, 5, 7, 5), kRed);
             Outline(p, QRect(8, 1, 6, 12), kPaper);
             p.fillRect(QRect(9, 5, 5, 5), kInk);
         }},
        {ID_EDIT_UNDO, [](QPainter& p) {
             p.setPen(QPen(kBlue, 2));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRect(3, 4, 10, 9), 0, 180 * 16);
             Polygon(p, QPolygon({{0, 8}, {6, 8}, {3, 12}}), kBlue);
         }},
        {ID_CONNECT_PRINTER, [](QPainter& p) { // connect: a plug on its cable, no printer
             Line(p, 0, 13, 3, 13, kGreen, 2);
             Line(p, 3, 13, 5, 9, kGreen, 2);
             Outline(p, QRect(5, 4, 6, 8), kShade);
             Line(p, 12, 6, 14, 6, kInk, 1);
             Line(p, 12, 10, 14, 10, kInk, 1);
         }},
        {ID_TEST_LOGO, [](QPainter& p) { // test logo: a printed sheet with a check mark
             Page(p, QRect(2, 0, 11, 14));
             p.fillRect(QRect(4, 3, 5, 3), kInk);
             Line(p, 4, 9, 6, 11, kRed, 2);
             Line(p, 6, 11, 11, 6, kRed, 2);
         }},
        {ID_PROGRAM_LOGO, [](QPainter& p) { // program logo: into flash memory
             Outline(p, QRect(3, 2, 9, 11), kInk);
             for (int y = 3; y < 13; y += 2) {
                 p.fillRect(QRect(1, y, 2, 1), kShade);
                 p.fillRect(QRect(13, y, 2, 1), kShade);
             }
             p.fillRect(QRect(5, 5, 5, 5), kRed);
         }},
        {ID_PRINT_LOGO, [](QPainter& p) { // print logo: a blue printer putting out a large logo
             Outline(p, QRect(2, 1, 11, 5), kBlue);
             Outline(p, QRect(3, 6, 9, 8), kPaper);
             p.fillRect(QRect(5, 8, 6, 4), kInk);
         }},
        {ID_CHANGE_COM_PORT, [](QPainter& p) { // change com port: a 9-pin connector
             Polygon(p, QPolygon({{1, 4}, {14, 4}, {12, 10}, {3, 10}}), kShade);
             for (int x = 3; x < 13; x += 2)
                 p.fillRect(QRect(x, 6, 1, 1), kYellow);
             for (int x = 4; x < 12; x += 2)
                 p.fillRect(QRect(x, 8, 1, 1), kYellow);
         }},
        {ID_FILE_PRINT, [](QPainter& p) { Printer(p, kGreen); }},
        {ID_APP_ABOUT, [](QPainter& p) {
             p.setPen(kInk);
             p.setBrush(kBlue);
             p.drawEllipse(QRect(1, 0, 13, 13));
             p.setPen(QPen(kPaper, 2));
             p.drawArc(QRect(5, 3, 5, 5), 0, 200 * 16);
             p.fillRect(QRect(7, 8, 2, 1), kPaper);
             p.fillRect(QRect(7, 10, 2, 2), kPaper);
         }},
        {ID_WEB_LINK, [](QPainter& p) { // the web address
             p.setPen(kInk);
             p.setBrush(QColor(120, 190, 255));
             p.drawEllipse(QRect(1, 0, 13, 13));
             p.setBrush(Qt::NoBrush);
             p.setPen(kGreen);
             p.drawEllipse(QRect(5, 0, 5, 13));
             Line(p, 1, 6, 14, 6, kGreen);
         }},
    };
    return drawers;
}

// Draws the image of commandId (nothing for an unknown id) in the cell at
// the painter's origin, kept inside the cell.
void DrawToolArt(QPainter& painter, UINT commandId)
{
    painter.save();
    painter.setClipRect(QRect(0, 0, kToolImageWidth, kToolImageHeight));
    if (const auto it = Drawers().constFind(commandId); it != Drawers().constEnd())
        (*it)(painter);
    else if (commandId >= ID_PATTERN_FIRST && commandId <= ID_PATTERN_LAST)
        PatternTile(painter, commandId);
    painter.restore();
}
} // namespace

QImage DrawnToolImage(UINT commandId, qreal ratio)
{
    QImage image(QSizeF(kToolImageWidth * ratio, kToolImageHeight * ratio).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        DrawToolArt(painter, commandId);
    }
    return image;
}

std::vector<UINT> ToolArtIds()
{
    std::vector<UINT> ids(Drawers().keyBegin(), Drawers().keyEnd());
    for (UINT id = ID_PATTERN_FIRST; id <= ID_PATTERN_LAST; ++id)
        ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

QImage GreyToolImageOf(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return grey;
}
