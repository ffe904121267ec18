#pragma once
// "Printer Preview": the logo as the printer will print it, on a strip of
// paper of the printer's width, one printer dot on a whole number of screen
// pixels whatever the screen's scale, with a line naming the printer and
// the send options.
#include <QDialog>
#include <QImage>
#include <QWidget>

class QScrollArea;

// The strip, drawn dot for dot: each dot covers DevicePixelsPerDot() device
// pixels in both directions, never a fraction, so no dot is smeared or lost.
class CPaperStripView : public QWidget {
    Q_OBJECT
public:
    explicit CPaperStripView(const QImage& strip, QWidget* parent = nullptr);

    const QImage& Strip() const { return m_strip; }
    // Shows another strip (a null one: nothing), resizing the view to it.
    void SetStrip(const QImage& strip);
    // The whole number of device pixels one dot covers on this screen.
    int DevicePixelsPerDot() const;
    QSize sizeHint() const override;
    // The strip as this widget shows it, at device resolution.
    QImage Rendered() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_strip;
};

class CPrinterPreviewDlg : public QDialog {
    Q_OBJECT
public:
    // strip: the paper with the dots (PaperStrip); details: printer and options.
    CPrinterPreviewDlg(QWidget* parent, const QImage& strip, const QString& details);
    int DoModal();

    CPaperStripView* StripView() const { return m_view; }

private:
    // As large as the strip needs, within the screen.
    void FitToStrip(QScrollArea* scroll);

    CPaperStripView* m_view;
};
