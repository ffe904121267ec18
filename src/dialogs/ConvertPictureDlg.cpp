#include "dialogs/ConvertPictureDlg.h"

#include "components/LoadCfgFileApp.h"
#include "components/SettingsStore.h"
#include "dialogs/DialogButtons.h"
#include "dialogs/PaperStrip.h"
#include "dialogs/PrinterPreviewDlg.h"
#include "platform/UiSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("Convert Picture");

struct CChoice {
    const char* text;
    QString name; // as the settings and the command line say it
};

const std::vector<CChoice>& FitChoices()
{
    static const std::vector<CChoice> choices = {
        {"Within the area", picture::NameOf(picture::Fit::Within)},
        {"Fill the width", picture::NameOf(picture::Fit::Width)},
        {"Original size", picture::NameOf(picture::Fit::Original)},
        {"Stretch", picture::NameOf(picture::Fit::Stretch)},
    };
    return choices;
}

const std::vector<CChoice>& PlacementChoices()
{
    static const std::vector<CChoice> choices = {
        {"Centre", picture::NameOf(picture::Placement::Center)},
        {"Left", picture::NameOf(picture::Placement::Left)},
    };
    return choices;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const std::vector<CChoice>& choices)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const CChoice& choice : choices)
        combo->addItem(QString::fromUtf8(choice.text), choice.name);
    return combo;
}

QComboBox* MakeMethodCombo(QWidget* parent, const QString& name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const dither::CMethodEntry& entry : dither::Methods())
        combo->addItem(QString::fromUtf8(entry.title), QString::fromLatin1(entry.name));
    return combo;
}

void SelectData(QComboBox* combo, const QString& data)
{
    const int index = combo->findData(data);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

dither::Method MethodOf(const QComboBox* combo)
{
    return dither::MethodNamed(combo->currentData().toString()).value_or(dither::Method::FloydSteinberg);
}

// A slider with the number it stands at beside it, typed into as well.
QSlider* MakeLevel(QWidget* parent, const QString& name, int low, int high, QFormLayout* form, const QString& label)
{
    auto* row = new QWidget(parent);
    auto* slider = new QSlider(Qt::Horizontal, row);
    slider->setObjectName(name);
    slider->setRange(low, high);
    auto* number = new QSpinBox(row);
    number->setObjectName(name + QStringLiteral("Value"));
    number->setRange(low, high);
    QObject::connect(slider, &QSlider::valueChanged, number, &QSpinBox::setValue);
    QObject::connect(number, &QSpinBox::valueChanged, slider, &QSlider::setValue);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(number);
    form->addRow(label, row);
    return slider;
}

QFrame* Rule(QWidget* parent)
{
    auto* rule = new QFrame(parent);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    return rule;
}

QString PictureLine(const picture::CPicture& picture)
{
    const QSize size = picture.NaturalSize(1);
    QString text = QStringLiteral("%1: %2, %3 x %4 %5")
                       .arg(picture.Name(), picture.FormatName())
                       .arg(size.width())
                       .arg(size.height())
                       .arg(picture.FormatName() == QLatin1String("PDF") ? QStringLiteral("points")
                            : picture.IsVector()                        ? QStringLiteral("units")
                                                                         : QStringLiteral("pixels"));
    if (picture.PageCount() > 1)
        text += QStringLiteral(", %1 pages").arg(picture.PageCount());
    return text;
}

} // namespace

// --- the settings kept between pictures --------------------------------------------

CPictureDialogSettings CPictureDialogSettings::Remembered()
{
    CPictureDialogSettings s;
    const auto text = [](const char* key) { return CSettingsStore::Value(kGroup, QLatin1String(key)).toString(); };
    const auto number = [](const char* key, int fallback, int low, int high) {
        bool ok = false;
        const int value = CSettingsStore::Value(kGroup, QLatin1String(key)).toInt(&ok);
        return ok ? std::clamp(value, low, high) : fallback;
    };
    s.model = text("Model");
    s.picture.fit = picture::FitNamed(text("Fit")).value_or(picture::Fit::Within);
    s.picture.placement = picture::PlacementNamed(text("Placement")).value_or(picture::Placement::Center);
    s.picture.method.method = dither::MethodNamed(text("Method")).value_or(dither::Method::FloydSteinberg);
    s.picture.method.threshold = number("Threshold", 128, 0, 255);
    s.picture.method.serpentine = text("Serpentine") == QLatin1String("1");
    s.picture.tone.brightness = number("Brightness", 0, picture::CTone::kMinLevel, picture::CTone::kMaxLevel);
    s.picture.tone.contrast = number("Contrast", 0, picture::CTone::kMinLevel, picture::CTone::kMaxLevel);
    bool ok = false;
    const double gamma = CSettingsStore::Value(kGroup, QStringLiteral("Gamma")).toDouble(&ok);
    s.picture.tone.gamma = ok ? std::clamp(gamma, picture::CTone::kMinGamma, picture::CTone::kMaxGamma) : 1.0;
    s.picture.tone.invert = text("Invert") == QLatin1String("1");
    const QStringList compared = text("Compared").split(u',', Qt::SkipEmptyParts);
    for (size_t i = 0; i < s.compared.size() && i < static_cast<size_t>(compared.size()); ++i)
        s.compared[i] = dither::MethodNamed(compared.at(static_cast<qsizetype>(i))).value_or(s.compared[i]);
    s.compare = text("Compare") == QLatin1String("1");
    return s;
}

void CPictureDialogSettings::Remember() const
{
    const auto put = [](const char* key, const QVariant& value) { CSettingsStore::SetValue(kGroup, QLatin1String(key), value); };
    QStringList compared;
    for (const dither::Method method : this->compared)
        compared << QLatin1String(dither::EntryOf(method).name);
    put("Model", model);
    put("Fit", picture::NameOf(picture.fit));
    put("Placement", picture::NameOf(picture.placement));
    put("Method", QLatin1String(dither::EntryOf(picture.method.method).name));
    put("Threshold", picture.method.threshold);
    put("Serpentine", picture.method.serpentine ? 1 : 0);
    put("Brightness", picture.tone.brightness);
    put("Contrast", picture.tone.contrast);
    put("Gamma", picture.tone.gamma);
    put("Invert", picture.tone.invert ? 1 : 0);
    put("Compared", compared.join(u','));
    put("Compare", compare ? 1 : 0);
}

// --- the dialog ------------------------------------------------------------------

CConvertPictureDlg::CConvertPictureDlg(QWidget* parent, const picture::CPictureConversion& conversion,
                                       const CLoadCfgFileApp* printers, const CPictureDialogSettings& start,
                                       AreaLookup areaOf)
    : QDialog(parent)
    , m_conversion(conversion)
    , m_areaOf(std::move(areaOf))
    , m_updateTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("convertPicture"));
    setWindowTitle(QStringLiteral("Convert Picture"));
    m_updateTimer->setSingleShot(true);
    m_updateTimer->setInterval(0);
    connect(m_updateTimer, &QTimer::timeout, this, &CConvertPictureDlg::UpdateNow);

    auto* title = new QLabel(PictureLine(m_conversion.Picture()), this);
    title->setObjectName(QStringLiteral("pictureDetails"));
    auto* body = new QHBoxLayout;
    body->addWidget(MakeControls());
    body->addWidget(MakePreviews(), 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addLayout(body, 1);
    layout->addWidget(MakeDialogButtons(this));

    FillPrinters(printers);
    ApplyStart(start);
    ConnectControls();
    ShowMethodControls();
    UpdateNow();
    resize(1000, 620);
}

QWidget* CConvertPictureDlg::MakeControls()
{
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    m_model = new QComboBox(box);
    m_model->setObjectName(QStringLiteral("printerModel"));
    form->addRow(QStringLiteral("Printer:"), m_model);
    m_fit = MakeCombo(box, QStringLiteral("fit"), FitChoices());
    form->addRow(QStringLiteral("Fit:"), m_fit);
    m_placement = MakeCombo(box, QStringLiteral("placement"), PlacementChoices());
    form->addRow(QStringLiteral("Placement:"), m_placement);
    m_page = new QSpinBox(box);
    m_page->setObjectName(QStringLiteral("page"));
    m_page->setRange(1, std::max(1, m_conversion.Picture().PageCount()));
    form->addRow(QStringLiteral("Page:"), m_page);
    m_page->setEnabled(m_conversion.Picture().PageCount() > 1);
    form->addRow(Rule(box));
    m_brightness = MakeLevel(box, QStringLiteral("brightness"), picture::CTone::kMinLevel, picture::CTone::kMaxLevel,
                             form, QStringLiteral("Brightness:"));
    m_contrast = MakeLevel(box, QStringLiteral("contrast"), picture::CTone::kMinLevel, picture::CTone::kMaxLevel, form,
                           QStringLiteral("Contrast:"));
    m_gamma = new QDoubleSpinBox(box);
    m_gamma->setObjectName(QStringLiteral("gamma"));
    m_gamma->setRange(picture::CTone::kMinGamma, picture::CTone::kMaxGamma);
    m_gamma->setSingleStep(0.1);
    m_gamma->setDecimals(2);
    form->addRow(QStringLiteral("Gamma:"), m_gamma);
    m_invert = new QCheckBox(QStringLiteral("Invert"), box);
    m_invert->setObjectName(QStringLiteral("invert"));
    form->addRow(QString(), m_invert);
    form->addRow(Rule(box));
    m_method = MakeMethodCombo(box, QStringLiteral("method"));
    form->addRow(QStringLiteral("Method:"), m_method);
    m_threshold = MakeLevel(box, QStringLiteral("threshold"), 0, 255, form, QStringLiteral("Threshold:"));
    m_serpentine = new QCheckBox(QStringLiteral("Serpentine scanning"), box);
    m_serpentine->setObjectName(QStringLiteral("serpentine"));
    form->addRow(QString(), m_serpentine);
    m_compare = new QCheckBox(QStringLiteral("Compare four methods"), box);
    m_compare->setObjectName(QStringLiteral("compare"));
    form->addRow(QString(), m_compare);
    box->setMinimumWidth(300);
    return box;
}

QWidget* CConvertPictureDlg::MakePreviews()
{
    auto* holder = new QWidget;
    auto* column = new QVBoxLayout(holder);
    m_preview = new CPaperStripView(QImage(), holder);
    m_preview->setObjectName(QStringLiteral("preview"));
    column->addWidget(m_preview, 0, Qt::AlignLeft);
    m_compareGrid = new QWidget(holder);
    m_compareGrid->setObjectName(QStringLiteral("compareGrid"));
    auto* grid = new QGridLayout(m_compareGrid);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i)
        grid->addWidget(MakeComparePane(i), i / 2, i % 2, Qt::AlignLeft | Qt::AlignTop);
    column->addWidget(m_compareGrid, 0, Qt::AlignLeft);
    column->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setWidget(holder);
    scroll->setWidgetResizable(true);
    scroll->setBackgroundRole(QPalette::Dark);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("previewDetails"));
    m_status->setWordWrap(true);
    auto* pane = new QWidget(this);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_status);
    return pane;
}

QWidget* CConvertPictureDlg::MakeComparePane(int index)
{
    auto* pane = new QWidget(m_compareGrid);
    auto* layout = new QVBoxLayout(pane);
    auto* combo = MakeMethodCombo(pane, QStringLiteral("compareMethod%1").arg(index + 1));
    auto* view = new CPaperStripView(QImage(), pane);
    view->setObjectName(QStringLiteral("compareView%1").arg(index + 1));
    view->setToolTip(QStringLiteral("Click to use this method"));
    view->installEventFilter(this); // a click chooses its method
    layout->addWidget(combo);
    layout->addWidget(view, 0, Qt::AlignLeft);
    m_compareMethods[static_cast<size_t>(index)] = combo;
    m_compareViews[static_cast<size_t>(index)] = view;
    return pane;
}

void CConvertPictureDlg::FillPrinters(const CLoadCfgFileApp* printers)
{
    if (!printers)
        return;
    for (int i = CConvertPictureDlg::kFirstOfferedPrinter; i < printers->GetPrinterCount(); ++i)
        m_model->addItem(printers->GetPrinterName(i), printers->GetPrinterCfgFile(i));
}

void CConvertPictureDlg::ApplyStart(const CPictureDialogSettings& start)
{
    const int model = m_model->findText(start.model);
    m_model->setCurrentIndex(model >= 0 ? model : 0);
    SelectData(m_fit, picture::NameOf(start.picture.fit));
    SelectData(m_placement, picture::NameOf(start.picture.placement));
    m_page->setValue(start.picture.page);
    m_brightness->setValue(start.picture.tone.brightness);
    m_contrast->setValue(start.picture.tone.contrast);
    m_gamma->setValue(start.picture.tone.gamma);
    m_invert->setChecked(start.picture.tone.invert);
    SelectData(m_method, QLatin1String(dither::EntryOf(start.picture.method.method).name));
    m_threshold->setValue(start.picture.method.threshold);
    m_serpentine->setChecked(start.picture.method.serpentine);
    for (size_t i = 0; i < m_compareMethods.size(); ++i)
        SelectData(m_compareMethods[i], QLatin1String(dither::EntryOf(start.compared[i]).name));
    m_compare->setChecked(start.compare);
}

void CConvertPictureDlg::ConnectControls()
{
    for (QComboBox* combo : {m_model, m_fit, m_placement, m_method})
        connect(combo, &QComboBox::currentIndexChanged, this, &CConvertPictureDlg::ScheduleUpdate);
    for (QComboBox* combo : m_compareMethods)
        connect(combo, &QComboBox::currentIndexChanged, this, &CConvertPictureDlg::ScheduleUpdate);
    for (QSlider* slider : {m_brightness, m_contrast, m_threshold})
        connect(slider, &QSlider::valueChanged, this, &CConvertPictureDlg::ScheduleUpdate);
    connect(m_page, &QSpinBox::valueChanged, this, &CConvertPictureDlg::ScheduleUpdate);
    connect(m_gamma, &QDoubleSpinBox::valueChanged, this, &CConvertPictureDlg::ScheduleUpdate);
    for (QCheckBox* box : {m_invert, m_serpentine, m_compare})
        connect(box, &QCheckBox::toggled, this, &CConvertPictureDlg::ScheduleUpdate);
    connect(m_method, &QComboBox::currentIndexChanged, this, &CConvertPictureDlg::ShowMethodControls);
}

void CConvertPictureDlg::ScheduleUpdate()
{
    m_updateTimer->start();
}

// The threshold plays a part only where the method decides by it, serpentine
// scanning only for the error diffusions.
void CConvertPictureDlg::ShowMethodControls()
{
    const dither::CMethodEntry& entry = dither::EntryOf(MethodOf(m_method));
    m_threshold->parentWidget()->setEnabled(entry.usesThreshold);
    m_serpentine->setEnabled(entry.diffusesError);
}

int CConvertPictureDlg::DoModal()
{
    return RunModal(this);
}

CPrinterChoice CConvertPictureDlg::Printer() const
{
    return CPrinterChoice{m_model->currentText(), m_model->currentData().toString()};
}

picture::CPictureSettings CConvertPictureDlg::PictureSettings() const
{
    picture::CPictureSettings s;
    s.fit = picture::FitNamed(m_fit->currentData().toString()).value_or(picture::Fit::Within);
    s.placement = picture::PlacementNamed(m_placement->currentData().toString()).value_or(picture::Placement::Center);
    s.page = m_page->value();
    s.tone = {m_brightness->value(), m_contrast->value(), m_gamma->value(), m_invert->isChecked()};
    s.method = {MethodOf(m_method), m_threshold->value(), m_serpentine->isChecked()};
    return s;
}

CPictureDialogSettings CConvertPictureDlg::Settings() const
{
    CPictureDialogSettings s;
    s.model = m_model->currentText();
    s.picture = PictureSettings();
    for (size_t i = 0; i < m_compareMethods.size(); ++i)
        s.compared[i] = MethodOf(m_compareMethods[i]);
    s.compare = m_compare->isChecked();
    return s;
}

bool CConvertPictureDlg::UpdateArea(QString* why)
{
    const CPrinterChoice printer = Printer();
    if (printer.model.isEmpty()) {
        *why = QStringLiteral("no printer is offered");
        return false;
    }
    if (printer.model == m_areaModel && !m_area.isEmpty())
        return true;
    const std::optional<QSize> area = m_areaOf ? m_areaOf(printer, why) : std::nullopt;
    if (!area || area->isEmpty()) {
        if (why->isEmpty())
            *why = QStringLiteral("the printer has no logo area");
        return false;
    }
    m_area = *area;
    m_areaModel = printer.model;
    return true;
}

void CConvertPictureDlg::ShowFailure(const QString& why)
{
    m_logo = QImage();
    m_preview->SetStrip(QImage());
    m_status->setText(QStringLiteral("No preview: %1.").arg(why));
    DialogButton(this, IDOK)->setEnabled(false);
}

void CConvertPictureDlg::UpdateNow()
{
    m_updateTimer->stop();
    QString why;
    const picture::CPictureSettings settings = PictureSettings();
    if (!UpdateArea(&why) || !m_conversion.FitTo(m_area, settings.fit, settings.placement, settings.page, &why)) {
        ShowFailure(why);
        return;
    }
    m_logo = m_conversion.Logo(settings.tone, settings.method);
    m_preview->SetStrip(PaperStrip(m_logo, m_area.width()));
    m_compareGrid->setVisible(m_compare->isChecked());
    if (m_compare->isChecked()) {
        for (size_t i = 0; i < m_compareViews.size(); ++i) {
            dither::CMethodSettings method = settings.method;
            method.method = MethodOf(m_compareMethods[i]);
            m_compareViews[i]->SetStrip(PaperStrip(m_conversion.Logo(settings.tone, method), m_area.width()));
        }
    }
    m_status->setText(QStringLiteral("%1, logo area %2 x %3 dots, one dot a pixel")
                          .arg(Printer().model)
                          .arg(m_area.width())
                          .arg(m_area.height()));
    DialogButton(this, IDOK)->setEnabled(true);
}

QString CConvertPictureDlg::Status() const
{
    return m_status->text();
}

bool CConvertPictureDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (size_t i = 0; i < m_compareViews.size(); ++i)
            if (watched == m_compareViews[i])
                m_method->setCurrentIndex(m_compareMethods[i]->currentIndex());
    }
    return QDialog::eventFilter(watched, event);
}

void CConvertPictureDlg::accept()
{
    UpdateNow();
    if (m_logo.isNull())
        return; // nothing to make a logo of; the line under the preview says why
    QDialog::accept();
}
