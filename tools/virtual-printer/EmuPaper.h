#pragma once
// The paper roll of the virtual printer: printed logos and line feeds pile up
// until a cut, which writes the page as a PNG file.
#include "EmuLogo.h"

#include <QString>
#include <QStringList>
#include <vector>

class CEmuPaper {
public:
    CEmuPaper(int width, QString outDir);

    void PrintLogo(const CEmuLogo& logo);
    void FeedLine();
    // Ends the page: writes <outDir>/page-NNN.png when anything was printed or
    // fed, numbered on from the highest page already in the folder.
    void Cut();

    int Cuts() const { return m_cuts; }
    QStringList Pages() const { return m_pages; }

    static constexpr int kLineHeight = 24;

private:
    QString NextPagePath() const;

    int m_width;
    QString m_outDir;
    std::vector<std::vector<bool>> m_rows;
    int m_cuts = 0;
    QStringList m_pages;
};
