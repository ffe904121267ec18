#pragma once
// "Convert Picture": a picture made into a new logo for a printer. The
// printer model gives the logo area; fit, placement, tone and method shape
// the dots, shown live on the printer's paper one dot per device pixel (the
// printer preview's strip), and beside them, when asked, four methods at the
// same settings. OK keeps the settings for the next picture.
#include "document/GlyphaneDoc.h"
#include "picture/PictureConversion.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <optional>

class CLoadCfgFileApp;
class CPaperStripView;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSlider;
class QSpinBox;
class QTimer;
class QWidget;

// What the dialog starts from and what OK keeps.
struct CPictureDialogSettings {
    QString model;
    picture::CPictureSettings picture;
    std::array<dither::Method, 4> compared{dither::Method::Threshold, dither::Method::FloydSteinberg,
                                           dither::Method::Atkinson, dither::Method::Ordered8};
    bool compare = false;

    // The last settings kept (group "Convert Picture" of the settings), or the defaults.
    static CPictureDialogSettings Remembered();
    void Remember() const;
};

class CConvertPictureDlg : public QDialog {
    Q_OBJECT
public:
    // The printers' list gives its reserved entries first; these are offered.
    static constexpr int kFirstOfferedPrinter = 9;
    // The logo area of a printer, or nothing and why.
    using AreaLookup = std::function<std::optional<QSize>(const CPrinterChoice& printer, QString* why)>;

    // conversion: the picture, drawn already for the starting settings when
    // the caller has checked that it can be; printers: the application's list
    // (entries from 9 on are offered).
    CConvertPictureDlg(QWidget* parent, const picture::CPictureConversion& conversion, const CLoadCfgFileApp* printers,
                       const CPictureDialogSettings& start, AreaLookup areaOf);

    int DoModal();

    // The choices and the logo as they stand (after OK: as accepted).
    CPrinterChoice Printer() const;
    CPictureDialogSettings Settings() const;
    QImage Logo() const { return m_logo; }

    // Brings the preview up to date at once (it otherwise follows the
    // controls at the next turn of the event loop).
    void UpdateNow();
    // The line under the preview: the area and the picture, or why there is no preview.
    QString Status() const;
    CPaperStripView* PreviewView() const { return m_preview; }
    CPaperStripView* CompareView(int index) const { return m_compareViews.at(static_cast<size_t>(index)); }

public slots:
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeControls();
    QWidget* MakePreviews();
    QWidget* MakeComparePane(int index);
    void FillPrinters(const CLoadCfgFileApp* printers);
    void ApplyStart(const CPictureDialogSettings& start);
    void ConnectControls();
    void ScheduleUpdate();
    void ShowMethodControls();
    picture::CPictureSettings PictureSettings() const;
    bool UpdateArea(QString* why);
    void ShowFailure(const QString& why);

    picture::CPictureConversion m_conversion;
    AreaLookup m_areaOf;
    QSize m_area;
    QString m_areaModel;
    QImage m_logo;
    QTimer* m_updateTimer;

    QComboBox* m_model = nullptr;
    QComboBox* m_fit = nullptr;
    QComboBox* m_placement = nullptr;
    QSpinBox* m_page = nullptr;
    QSlider* m_brightness = nullptr;
    QSlider* m_contrast = nullptr;
    QDoubleSpinBox* m_gamma = nullptr;
    QCheckBox* m_invert = nullptr;
    QComboBox* m_method = nullptr;
    QSlider* m_threshold = nullptr;
    QCheckBox* m_serpentine = nullptr;
    QCheckBox* m_compare = nullptr;
    QLabel* m_status = nullptr;
    CPaperStripView* m_preview = nullptr;
    QWidget* m_compareGrid = nullptr;
    std::array<QComboBox*, 4> m_compareMethods{};
    std::array<CPaperStripView*, 4> m_compareViews{};
};
