// SPDX-License-Identifier: MIT
#include "platform/ui/scanner_dialogs.h"

#include "platform/core/cursors.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace platform {

ScannerChoiceDialog::ScannerChoiceDialog(QWidget* parent, const QList<ScannerDevice>& devices,
                                         int current)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Scanner"));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Scanners"));
    for (const ScannerDevice& d : devices) {
        const QString product = (d.vendor + u' ' + d.model).trimmed();
        list_->addItem(product.isEmpty()
                           ? d.name
                           : QStringLiteral("%1 (%2, %3)").arg(product, d.type, d.name));
    }
    list_->setCurrentRow(std::clamp(current, 0, int(devices.size()) - 1));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("&Scanners found:"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(420, 260);
}

int ScannerChoiceDialog::Chosen() const {
    return list_->currentRow();
}

/// The scan area over the preview: the device's whole area fitted into the widget, the
/// chosen area outlined; dragging draws a new one.
class ScanAreaView : public QWidget {
public:
    ScanAreaView(QWidget* parent, QRectF limit)
        : QWidget(parent)
        , limit_(limit) {
        setMinimumSize(200, 240);
        setCursor(Qt::CrossCursor);
    }
    std::function<void(const QRectF&)> areaDrawn;
    void SetPreview(const QImage& image) {
        preview_ = image;
        update();
    }
    void SetArea(const QRectF& area) {
        area_ = area;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
        const QRectF page = Page();
        if (!preview_.isNull())
            p.drawImage(page, preview_);
        else
            p.fillRect(page, Qt::white);
        p.setPen(QPen(Qt::red, 1, Qt::DashLine));
        p.drawRect(ToWidget(area_));
    }
    void mousePressEvent(QMouseEvent* e) override { anchor_ = ToArea(e->position()); }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (e->buttons() & Qt::LeftButton)
            Drawn(QRectF(anchor_, ToArea(e->position())).normalized());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QRectF r = QRectF(anchor_, ToArea(e->position())).normalized();
        if (r.width() > 0 && r.height() > 0)
            Drawn(r);
    }

private:
    void Drawn(const QRectF& r) {
        area_ = r;
        update();
        if (areaDrawn)
            areaDrawn(r);
    }
    // The device's area fitted into the widget with its proportions.
    QRectF Page() const {
        if (limit_.width() <= 0 || limit_.height() <= 0)
            return rect();
        const double scale =
            std::min((width() - 8) / limit_.width(), (height() - 8) / limit_.height());
        const QSizeF size(limit_.width() * scale, limit_.height() * scale);
        return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    }
    QRectF ToWidget(const QRectF& mm) const {
        const QRectF page = Page();
        const double sx = page.width() / std::max(limit_.width(), 1e-9);
        const double sy = page.height() / std::max(limit_.height(), 1e-9);
        return QRectF(page.left() + (mm.left() - limit_.left()) * sx,
                      page.top() + (mm.top() - limit_.top()) * sy, mm.width() * sx,
                      mm.height() * sy);
    }
    QPointF ToArea(QPointF at) const {
        const QRectF page = Page();
        const double x = std::clamp((at.x() - page.left()) / page.width(), 0.0, 1.0);
        const double y = std::clamp((at.y() - page.top()) / page.height(), 0.0, 1.0);
        return {limit_.left() + x * limit_.width(), limit_.top() + y * limit_.height()};
    }

    QRectF limit_, area_;
    QImage preview_;
    QPointF anchor_;
};

ScanSettingsDialog::ScanSettingsDialog(QWidget* parent, const ScanRequest& request)
    : QDialog(parent)
    , request_(request) {
    setWindowTitle(QStringLiteral("Scan Image"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Scanner:"), new QLabel(request.device, this));
    if (!request.modes.isEmpty()) {
        mode_ = new QComboBox(this);
        mode_->setObjectName(QStringLiteral("Mode"));
        mode_->addItems(request.modes);
        mode_->setCurrentIndex(std::max(0, request.mode));
        connect(mode_, &QComboBox::currentIndexChanged, this, &ScanSettingsDialog::UpdateSize);
        form->addRow(QStringLiteral("&Mode:"), mode_);
    }
    if (request.resolution > 0) {
        if (!request.resolutions.isEmpty()) {
            resolutionList_ = new QComboBox(this);
            resolutionList_->setObjectName(QStringLiteral("Resolution"));
            for (double r : request.resolutions)
                resolutionList_->addItem(QStringLiteral("%1 dpi").arg(r), r);
            resolutionList_->setCurrentIndex(
                std::max(0, int(request.resolutions.indexOf(request.resolution))));
            connect(resolutionList_, &QComboBox::currentIndexChanged, this,
                    &ScanSettingsDialog::UpdateSize);
            form->addRow(QStringLiteral("&Resolution:"), resolutionList_);
        } else {
            resolution_ = new QDoubleSpinBox(this);
            resolution_->setObjectName(QStringLiteral("Resolution"));
            resolution_->setDecimals(0);
            resolution_->setRange(request.resolutionMin, request.resolutionMax);
            if (request.resolutionStep > 0)
                resolution_->setSingleStep(request.resolutionStep);
            resolution_->setSuffix(QStringLiteral(" dpi"));
            resolution_->setValue(request.resolution);
            connect(resolution_, &QDoubleSpinBox::valueChanged, this,
                    &ScanSettingsDialog::UpdateSize);
            form->addRow(QStringLiteral("&Resolution:"), resolution_);
        }
    }
    if (request.hasArea) {
        const char* names[4] = {"Left", "Top", "Right", "Bottom"};
        const char* labels[4] = {"&Left:", "&Top:", "R&ight:", "&Bottom:"};
        const QRectF limit = request.areaLimit;
        const double lows[4] = {limit.left(), limit.top(), limit.left(), limit.top()};
        const double highs[4] = {limit.right(), limit.bottom(), limit.right(), limit.bottom()};
        const double values[4] = {request.area.left(), request.area.top(), request.area.right(),
                                  request.area.bottom()};
        for (int k = 0; k < 4; ++k) {
            area_[k] = new QDoubleSpinBox(this);
            area_[k]->setObjectName(QString::fromLatin1(names[k]));
            area_[k]->setDecimals(1);
            area_[k]->setRange(lows[k], highs[k]);
            area_[k]->setSuffix(QStringLiteral(" mm"));
            area_[k]->setValue(values[k]);
            connect(area_[k], &QDoubleSpinBox::valueChanged, this,
                    &ScanSettingsDialog::AreaChanged);
            form->addRow(QString::fromLatin1(labels[k]), area_[k]);
        }
    }
    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("PixelSize"));
    form->addRow(QStringLiteral("Picture:"), size_);

    auto* preview = new QPushButton(QStringLiteral("&Preview"), this);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setEnabled(bool(request.preview));
    connect(preview, &QPushButton::clicked, this, &ScanSettingsDialog::Preview);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(QStringLiteral("&Scan"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(preview, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    if (request.hasArea) {
        view_ = new ScanAreaView(this, request.areaLimit);
        view_->SetArea(request.area);
        view_->areaDrawn = [this](const QRectF& r) { ShowArea(r); };
        top->addWidget(view_, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buttons);
    UpdateSize();
}

ScanRequest ScanSettingsDialog::Result() const {
    ScanRequest r = request_;
    if (mode_)
        r.mode = mode_->currentIndex();
    if (resolutionList_)
        r.resolution = resolutionList_->currentData().toDouble();
    else if (resolution_)
        r.resolution = resolution_->value();
    if (area_[0])
        r.area = QRectF(QPointF(area_[0]->value(), area_[1]->value()),
                        QPointF(area_[2]->value(), area_[3]->value()))
                     .normalized();
    return r;
}

void ScanSettingsDialog::Preview() {
    if (!request_.preview || !view_)
        return;
    WaitCursor wait;
    view_->SetPreview(request_.preview(Result()));
}

QSize ScanSettingsDialog::ExpectedPixels() const {
    const ScanRequest r = Result();
    if (!r.hasArea || r.resolution <= 0)
        return {};
    return {int(std::lround(r.area.width() / 25.4 * r.resolution)),
            int(std::lround(r.area.height() / 25.4 * r.resolution))};
}

void ScanSettingsDialog::AreaChanged() {
    if (view_)
        view_->SetArea(Result().area);
    UpdateSize();
}

void ScanSettingsDialog::ShowArea(const QRectF& area) {
    const double values[4] = {area.left(), area.top(), area.right(), area.bottom()};
    for (int k = 0; k < 4; ++k) {
        const QSignalBlocker block(area_[k]);
        area_[k]->setValue(values[k]);
    }
    UpdateSize();
}

void ScanSettingsDialog::UpdateSize() {
    const QSize pixels = ExpectedPixels();
    size_->setText(
        pixels.isEmpty()
            ? QStringLiteral("the device's own size")
            : QStringLiteral("about %1 \u00D7 %2 pixels").arg(pixels.width()).arg(pixels.height()));
}

} // namespace platform
