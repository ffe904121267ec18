#include "EmuPaper.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

CEmuLogo CEmuLogo::Band(int first, int count) const
{
    CEmuLogo band;
    if (first < 0 || count <= 0 || first + count > height)
        return band;
    band.width = width;
    band.height = count;
    const auto begin = bits.begin() + static_cast<long>(first) * RowBytes();
    band.bits.assign(begin, begin + static_cast<long>(count) * RowBytes());
    return band;
}

QImage CEmuLogo::ToImage() const
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (IsBlack(x, y))
                image.setPixel(x, y, qRgb(0, 0, 0));
    return image;
}

CEmuPaper::CEmuPaper(int width, QString outDir) : m_width(width), m_outDir(std::move(outDir)) {}

void CEmuPaper::PrintLogo(const CEmuLogo& logo)
{
    for (int y = 0; y < logo.height; ++y) {
        std::vector<bool> row(static_cast<size_t>(m_width), false);
        for (int x = 0; x < logo.width && x < m_width; ++x)
            row[static_cast<size_t>(x)] = logo.IsBlack(x, y);
        m_rows.push_back(std::move(row));
    }
}

void CEmuPaper::FeedLine()
{
    for (int i = 0; i < kLineHeight; ++i)
        m_rows.emplace_back(static_cast<size_t>(m_width), false);
}

void CEmuPaper::Cut()
{
    ++m_cuts;
    // The cut ends the page whether or not it is written anywhere: a printer
    // without an output folder must not keep every page it ever printed.
    if (m_rows.empty() || m_outDir.isEmpty() || m_width <= 0) {
        m_rows.clear();
        return;
    }
    QImage page(m_width, static_cast<int>(m_rows.size()), QImage::Format_RGB32);
    page.fill(Qt::white);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < m_width; ++x)
            if (m_rows[static_cast<size_t>(y)][static_cast<size_t>(x)])
                page.setPixel(x, y, qRgb(0, 0, 0));
    QDir().mkpath(m_outDir);
    const QString path = NextPagePath();
    if (page.save(path, "PNG"))
        m_pages << path;
    m_rows.clear();
}

// The pages of earlier runs (or of another printer writing to the same
// folder) stay: numbering goes on after the highest page already there.
QString CEmuPaper::NextPagePath() const
{
    static const QRegularExpression pageName(QStringLiteral("^page-(\\d+)\\.png$"));
    const QDir folder(m_outDir);
    qulonglong highest = 0;
    for (const QString& name : folder.entryList({QStringLiteral("page-*.png")}, QDir::Files)) {
        const QRegularExpressionMatch match = pageName.match(name);
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toULongLong());
    }
    QString path;
    do {
        path = folder.filePath(QStringLiteral("page-%1.png").arg(++highest, 3, 10, QLatin1Char('0')));
    } while (QFileInfo::exists(path));
    return path;
}
