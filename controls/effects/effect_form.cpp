// SPDX-License-Identifier: MIT
#include "controls/effects/effect_form.h"

#include "controls/effects/effect_preview.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "platform/core/dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEventLoop>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace controls {

namespace {

TEffectForm* current = nullptr;

QImage ImageOfDib(HGLOBAL dib) {
    imaging::TBitmap bitmap;
    if (!dib || imaging::DibHandleToBitmap(dib, bitmap) == 0)
        return {};
    return bitmap.Handle().convertToFormat(QImage::Format_RGB32);
}

HGLOBAL DibOfImage(const QImage& image) {
    imaging::TBitmap bitmap;
    bitmap.SetHandle(image);
    HGLOBAL dib = nullptr;
    imaging::BitmapToDib(&bitmap, &dib);
    return dib;
}

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QSlider* Slider(int low, int high, int value, const QString& name, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(low, high);
    slider->setValue(value);
    slider->setPageStep((high - low) / 20);
    return slider;
}

} // namespace

TEffectForm* TEffectForm::Current() {
    return current;
}

TEffectForm::TEffectForm(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("EffectForm"));
    setWindowTitle(QStringLiteral("Filters and Effects"));
    current = this;

    previewWidget_ = new EffectPreview(this);
    previewWidget_->setObjectName(QStringLiteral("Preview"));
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName(QStringLiteral("PictureSize"));

    auto* tabs = new QTabWidget(this);
    tabs->setUsesScrollButtons(false);
    tabs->addTab(BuildTones(), QStringLiteral("&Tones"));
    tabs->addTab(BuildColours(), QStringLiteral("&Colours"));
    tabs->addTab(BuildGeometry(), QStringLiteral("&Geometry"));
    tabs->addTab(BuildTransitions(), QStringLiteral("T&ransition"));

    auto* reset = Button(QStringLiteral("R&eset"), QStringLiteral("Reset"), this);
    connect(reset, &QPushButton::clicked, this, &TEffectForm::ResetPicture);
    pictureControls_ << reset;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(reset, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(previewWidget_, 1);
    left->addWidget(sizeLabel_);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addWidget(tabs);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    SetDib(nullptr);
}

TEffectForm::~TEffectForm() {
    if (current == this)
        current = nullptr;
}

QAbstractButton* TEffectForm::RowButton(const imaging::EffectRow& row, QWidget* parent,
                                        QAbstractSpinBox* value) {
    auto* button = Button(QString::fromUtf8(row.Label), QString::fromLatin1(row.Name), parent);
    auto* number = qobject_cast<QDoubleSpinBox*>(value);
    connect(button, &QPushButton::clicked, this, [this, &row, number] {
        const double v = number ? number->value() : 0;
        switch (row.Does) {
        case imaging::EffectRow::Action::Effect:
            ApplyEffect(row.Id, v);
            break;
        case imaging::EffectRow::Action::Invert:
            InvertPicture();
            break;
        case imaging::EffectRow::Action::Rotate:
            RotatePicture(v);
            break;
        case imaging::EffectRow::Action::Tone:
            break;
        }
    });
    pictureControls_ << button;
    return button;
}

QAbstractSpinBox* TEffectForm::RowValue(const imaging::EffectRow& row, QWidget* parent) {
    auto* value = new QDoubleSpinBox(parent);
    value->setObjectName(QString::fromLatin1(row.Name) + QStringLiteral("Value"));
    value->setDecimals(row.Decimals);
    value->setRange(row.Low, row.High);
    value->setSuffix(QString::fromUtf8(row.Suffix));
    value->setValue(row.Initial);
    return value;
}

void TEffectForm::BuildRows(imaging::EffectRow::Tab tab, QWidget* page, QVBoxLayout* layout) {
    // Operations without a value side by side, each valued one on a line of its own, and
    // those with a value caption in a group box of filters.
    auto* plain = new QHBoxLayout;
    QFormLayout* filters = nullptr;
    QGroupBox* box = nullptr;
    layout->addLayout(plain);
    for (const imaging::EffectRow& row : imaging::EffectRows()) {
        if (row.Page != tab || row.Does == imaging::EffectRow::Action::Tone)
            continue;
        if (!row.TakesValue()) {
            plain->addWidget(RowButton(row, page));
            continue;
        }
        if (!row.ValueLabel) {
            auto* line = new QHBoxLayout;
            QAbstractSpinBox* value = RowValue(row, page);
            line->addWidget(value);
            line->addWidget(RowButton(row, page, value));
            layout->addLayout(line);
            continue;
        }
        if (!box) {
            box = new QGroupBox(QStringLiteral("Filters"), page);
            filters = new QFormLayout(box);
        }
        auto* line = new QHBoxLayout;
        QAbstractSpinBox* value = RowValue(row, box);
        line->addWidget(value);
        line->addWidget(RowButton(row, box, value));
        filters->addRow(QString::fromUtf8(row.ValueLabel), line);
    }
    if (box)
        layout->addWidget(box);
}

QWidget* TEffectForm::BuildTones() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (const imaging::EffectRow& row : imaging::EffectRows()) {
        if (row.Does != imaging::EffectRow::Action::Tone)
            continue;
        QSlider* slider =
            Slider(row.Low, row.High, row.Initial, QString::fromLatin1(row.Name), page);
        tones_.push_back(slider);
        auto* value = new QLabel(page);
        value->setMinimumWidth(36);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto show = [value, slider, &row] {
            value->setText(row.Scale == 1 ? QString::number(slider->value())
                                          : QString::number(double(slider->value()) / row.Scale,
                                                            'f', row.Decimals));
        };
        show();
        connect(slider, &QSlider::valueChanged, this, [this, show] {
            show();
            RefreshPreview();
        });
        auto* line = new QHBoxLayout;
        line->addWidget(slider, 1);
        line->addWidget(value);
        auto* caption = new QLabel(QString::fromUtf8(row.Label), page);
        caption->setBuddy(slider);
        form->addRow(caption, line);
        pictureControls_ << slider;
    }
    brightness_ = tones_.at(0);
    contrast_ = tones_.at(1);
    gamma_ = tones_.at(2);
    auto* neutral = Button(QStringLiteral("&Neutral tones"), QStringLiteral("NeutralTones"), page);
    connect(neutral, &QPushButton::clicked, this, [this] { SetTones(0, 0, 1.0); });
    form->addRow(neutral);
    pictureControls_ << neutral;
    return page;
}

QWidget* TEffectForm::BuildColours() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    BuildRows(imaging::EffectRow::Tab::Colours, page, layout);

    auto* box = new QGroupBox(QStringLiteral("Colour reduction"), page);
    colours_ = new QComboBox(box);
    colours_->setObjectName(QStringLiteral("Colours"));
    colours_->addItem(QStringLiteral("2 colours"), 2);
    colours_->addItem(QStringLiteral("16 colours"), 16);
    colours_->addItem(QStringLiteral("256 colours"), 256);
    colours_->setCurrentIndex(2);
    dither_ = new QComboBox(box);
    dither_->setObjectName(QStringLiteral("Dither"));
    for (const char* name : {"No dithering", "Bayer", "Burkes", "Floyd-Steinberg", "Greyscale"})
        dither_->addItem(QString::fromLatin1(name));
    dither_->setCurrentIndex(3);
    auto* reduce = Button(QStringLiteral("Re&duce"), QStringLiteral("Reduce"), box);
    connect(reduce, &QPushButton::clicked, this,
            [this] { ReduceColours(colours_->currentData().toInt(), dither_->currentIndex()); });
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Colours"), colours_);
    form->addRow(QStringLiteral("Dither"), dither_);
    form->addRow(reduce);
    layout->addWidget(box);
    layout->addStretch(1);
    pictureControls_ << reduce;
    return page;
}

QWidget* TEffectForm::BuildGeometry() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    BuildRows(imaging::EffectRow::Tab::Geometry, page, layout);
    layout->addStretch(1);
    return page;
}

QWidget* TEffectForm::BuildTransitions() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* box = new QGroupBox(QStringLiteral("Transition"), page);
    auto* choices = new QVBoxLayout(box);
    const char* names[] = {"&None",     "&Horizontal",       "&Vertical",
                           "&Diagonal", "Diagonal s&quares", "Rectan&gles"};
    const char* objects[] = {"rbNone",     "rbHorizontal",      "rbVertical",
                             "rbDiagonal", "rbDiagonalSquares", "rbRectangles"};
    for (int i = 0; i < 6; ++i) {
        transitions_[std::size_t(i)] = new QRadioButton(QString::fromLatin1(names[i]), box);
        transitions_[std::size_t(i)]->setObjectName(QString::fromLatin1(objects[i]));
        choices->addWidget(transitions_[std::size_t(i)]);
    }
    transitions_[0]->setChecked(true);
    layout->addWidget(box);
    delay_ = new QSpinBox(page);
    delay_->setObjectName(QStringLiteral("Delay"));
    delay_->setRange(0, 1000);
    delay_->setSuffix(QStringLiteral(" ms"));
    thickness_ = new QSpinBox(page);
    thickness_->setObjectName(QStringLiteral("Thickness"));
    thickness_->setRange(1, 200);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Step de&lay"), delay_);
    form->addRow(QStringLiteral("Band &thickness"), thickness_);
    layout->addLayout(form);
    auto* preview = Button(QStringLiteral("&Preview"), QStringLiteral("PreviewTransition"), page);
    connect(preview, &QPushButton::clicked, this, &TEffectForm::PreviewTransition);
    layout->addWidget(preview);
    layout->addStretch(1);
    pictureControls_ << preview;
    return page;
}

int TEffectForm::FXDelay() const {
    return delay_->value();
}
void TEffectForm::SetFXDelay(int delay) {
    delay_->setValue(delay);
}
int TEffectForm::FXColRowThick() const {
    return thickness_->value();
}
void TEffectForm::SetFXColRowThick(int thickness) {
    thickness_->setValue(thickness);
}

void TEffectForm::SetTransition(imaging::TFXMethod method) {
    const int index = method >= imaging::FXNone && method <= imaging::FXRectangles ? method : 0;
    transitions_[std::size_t(index)]->setChecked(true);
}

QRadioButton* TEffectForm::TransitionChoice(imaging::TFXMethod method) const {
    return transitions_[std::size_t(method)];
}

void TEffectForm::SetDib(HGLOBAL dib) {
    original_.Reset(dib);
    base_.Reset(dib ? imaging::ILTDib::DuplicateHandle(dib) : nullptr);
    for (QWidget* control : pictureControls_)
        control->setEnabled(bool(base_));
    RebuildPreviewBase();
}

HGLOBAL TEffectForm::WithTones(HGLOBAL dib) const {
    const int b = brightness_->value(), c = contrast_->value();
    const double g = gamma_->value() / double(imaging::RowOf(imaging::Effect::Gamma).Scale);
    HGLOBAL out = nullptr;
    if (b != 0 || c != 0)
        out = imaging::ApplyEffect(imaging::Effect::Brightness, dib, b, c);
    if (g != 1.0) {
        HGLOBAL next = imaging::ApplyEffect(imaging::Effect::Gamma, out ? out : dib, g);
        imaging::FreeDib(out);
        out = next;
    }
    return out; // none: the tones are neutral or the engine failed
}

HGLOBAL TEffectForm::Dib() {
    result_.Reset();
    if (!base_)
        return nullptr;
    result_.Reset(WithTones(base_.Get()));
    if (!result_)
        result_.Reset(imaging::ILTDib::DuplicateHandle(base_.Get()));
    return result_.Get();
}

void TEffectForm::Replace(HGLOBAL result) {
    if (!result) {
        platform::Dialogs().MessageBox(this,
                                       QStringLiteral("The effect could not be applied to this "
                                                      "picture."),
                                       windowTitle(), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    base_.Reset(result);
    RebuildPreviewBase();
}

void TEffectForm::ApplyEffect(imaging::Effect effect, double value) {
    if (!base_)
        return;
    platform::WaitCursor wait;
    Replace(imaging::ApplyEffect(effect, base_.Get(), value));
}

void TEffectForm::InvertPicture() {
    if (!base_)
        return;
    platform::WaitCursor wait;
    platform::MemoryBlock copy(imaging::ILTDib::DuplicateHandle(base_.Get()));
    if (copy && imaging::ILInvertDib(copy.Get()) != 1)
        copy.Reset();
    Replace(copy.Release());
}

void TEffectForm::RotatePicture(double degrees) {
    if (!base_)
        return;
    platform::WaitCursor wait;
    Replace(imaging::ILRotateDib(base_.Get(), degrees, nullptr, rotateBackground_));
}

void TEffectForm::ReduceColours(int colours, int dither) {
    if (!base_)
        return;
    const int depth = colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
    const auto method = static_cast<imaging::TSortDither>(std::max(0, dither - 1));
    platform::WaitCursor wait;
    Replace(imaging::ReduceDibColours(base_.Get(), depth, dither > 0, nullptr, nullptr, method));
}

void TEffectForm::SetTones(int brightness, int contrast, double gamma) {
    const QSignalBlocker b(brightness_), c(contrast_), g(gamma_);
    brightness_->setValue(brightness);
    contrast_->setValue(contrast);
    gamma_->setValue(int(std::lround(gamma * imaging::RowOf(imaging::Effect::Gamma).Scale)));
    RefreshPreview();
    // The value labels follow their sliders' signals; give them the new values too.
    emit brightness_->valueChanged(brightness_->value());
    emit contrast_->valueChanged(contrast_->value());
    emit gamma_->valueChanged(gamma_->value());
}

void TEffectForm::ResetPicture() {
    SetTones(0, 0, 1.0);
    if (original_)
        if (HGLOBAL copy = imaging::ILTDib::DuplicateHandle(original_.Get()))
            base_.Reset(copy);
    RebuildPreviewBase();
}

void TEffectForm::RebuildPreviewBase() {
    previewBase_ = QImage();
    if (base_) {
        const QImage full = ImageOfDib(base_.Get());
        sizeLabel_->setText(QStringLiteral("%1 \u00D7 %2 pixels, %3 bits")
                                .arg(full.width())
                                .arg(full.height())
                                .arg(imaging::DibBitCount(base_.Get())));
        // Only what the preview shows is worked on while the sliders move.
        const QSize room = previewWidget_->sizeHint() - QSize(2, 2);
        const bool shrink = full.width() > room.width() || full.height() > room.height();
        previewBase_ =
            shrink ? full.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation) : full;
    } else {
        sizeLabel_->setText(QStringLiteral("No picture"));
    }
    RefreshPreview();
}

void TEffectForm::RefreshPreview() {
    preview_ = previewBase_;
    if (!previewBase_.isNull()) {
        HGLOBAL small = DibOfImage(previewBase_);
        if (HGLOBAL toned = small ? WithTones(small) : nullptr) {
            preview_ = ImageOfDib(toned);
            imaging::FreeDib(toned);
        }
        imaging::FreeDib(small);
    }
    previewWidget_->SetImage(preview_);
}

void TEffectForm::SleepInPreview(int milliseconds) {
    if (stopping_ || milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void TEffectForm::PreviewTransition() {
    imaging::TFXMethod method = imaging::FXNone;
    for (int i = 0; i < 6; ++i)
        if (transitions_[std::size_t(i)]->isChecked())
            method = static_cast<imaging::TFXMethod>(i);
    if (preview_.isNull() || method == imaging::FXNone) {
        previewWidget_->SetImage(preview_);
        return;
    }
    for (QWidget* control : pictureControls_)
        control->setEnabled(false);
    const QSize room = previewWidget_->Room();
    QImage frame(room, QImage::Format_RGB32);
    frame.fill(palette().color(QPalette::Dark));
    {
        QPainter painter(&frame);
        painter.translate(previewWidget_->Origin(preview_.size()) -
                          previewWidget_->contentsRect().topLeft());
        imaging::TBitmap picture;
        picture.SetHandle(preview_);
        imaging::TransitionCanvas canvas;
        canvas.painter = &painter;
        canvas.present = [&] {
            previewWidget_->SetImage(frame);
            previewWidget_->repaint();
        };
        canvas.sleep = [this](int ms) { SleepInPreview(ms); };
        imaging::FXTransition(method, canvas, picture, FXColRowThick(), FXDelay());
    }
    for (QWidget* control : pictureControls_)
        control->setEnabled(bool(base_));
    previewWidget_->SetImage(preview_);
}

void TEffectForm::showEvent(QShowEvent* event) {
    platform::Screen::SetCursor(RestoreCursor);
    QDialog::showEvent(event);
}

void TEffectForm::done(int result) {
    stopping_ = true;
    QDialog::done(result);
}

} // namespace controls
