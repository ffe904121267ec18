#pragma once
// The status-bar panes the editor view keeps up to date (printer, port,
// position, size, tool). The texts are built here and handed to the program
// host, which shows them in the main frame; the last text of each pane is
// kept, so the view can be checked without a status bar. A null host (no
// program around the view) only keeps the texts.
#include <QString>

class CProgramHost;
class QWidget;

namespace viewpanes {

QString PositionText(int x, int y); // x, y zero-based; -1 shows as 000
QString SizeText(int width, int height);
QString ToolText(const QString& name);

void SetPositionPane(CProgramHost* host, int x, int y);
void SetSizePane(CProgramHost* host, int width, int height);
void SetToolPane(CProgramHost* host, const QString& name);
void SetPrinterPane(CProgramHost* host, const QString& text);
void SetPortPane(CProgramHost* host, const QString& text);
void SetMessagePane(CProgramHost* host, const QString& text);

// Whether the panes are the given logo window's to write: no other logo
// window is in front of it (or there is no main frame). A window that has
// gone behind another, or closed while another came forward, writes no pane.
bool IsFrontWindow(const CProgramHost* host, const QWidget* window);

struct CPaneTexts {
    QString position;
    QString size;
    QString tool;
    QString printer;
    QString port;
};
// What the view last showed in each pane.
const CPaneTexts& LastTexts();

} // namespace viewpanes
