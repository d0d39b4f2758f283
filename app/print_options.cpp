// SPDX-License-Identifier: MIT
#include "app/print_options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>

namespace {

QDoubleSpinBox* Millimetres(QWidget* parent, const char* name, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(1, 2000);
    box->setDecimals(0);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
}

} // namespace

controls::PrintPlacement PrintPlacementPage::Remembered() {
    const QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
    controls::PrintPlacement p;
    const int how = settings.value(QStringLiteral("Print/Placement"), 0).toInt();
    p.How = how == 1   ? controls::PrintPlacement::Size::FitPage
            : how == 2 ? controls::PrintPlacement::Size::Millimetres
                       : controls::PrintPlacement::Size::Own;
    p.Millimetres = QSizeF(settings.value(QStringLiteral("Print/WidthMm"), 100).toDouble(),
                           settings.value(QStringLiteral("Print/HeightMm"), 100).toDouble());
    p.Centred = settings.value(QStringLiteral("Print/Centred"), false).toBool();
    return p;
}

PrintPlacementPage::PrintPlacementPage() {
    setObjectName(QStringLiteral("PrintPlacement"));
    setWindowTitle(QStringLiteral("Placement"));
    const controls::PrintPlacement kept = Remembered();
    own_ = new QRadioButton(QStringLiteral("&Its own size (as on the screen)"), this);
    own_->setObjectName(QStringLiteral("rbOwnSize"));
    fit_ = new QRadioButton(QStringLiteral("&Fit to the page"), this);
    fit_->setObjectName(QStringLiteral("rbFitPage"));
    sized_ = new QRadioButton(QStringLiteral("Fit &into"), this);
    sized_->setObjectName(QStringLiteral("rbSize"));
    auto* group = new QButtonGroup(this);
    for (QRadioButton* b : {own_, fit_, sized_})
        group->addButton(b);
    (kept.How == controls::PrintPlacement::Size::FitPage       ? fit_
     : kept.How == controls::PrintPlacement::Size::Millimetres ? sized_
                                                               : own_)
        ->setChecked(true);
    width_ = Millimetres(this, "spnWidthMm", kept.Millimetres.width());
    height_ = Millimetres(this, "spnHeightMm", kept.Millimetres.height());
    centred_ = new QCheckBox(QStringLiteral("&Centred on the page"), this);
    centred_->setObjectName(QStringLiteral("chkCentred"));
    centred_->setChecked(kept.Centred);

    auto* grid = new QGridLayout(this);
    grid->addWidget(own_, 0, 0, 1, 4);
    grid->addWidget(fit_, 1, 0, 1, 4);
    grid->addWidget(sized_, 2, 0);
    grid->addWidget(width_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("by"), this), 2, 2);
    grid->addWidget(height_, 2, 3);
    grid->addWidget(centred_, 3, 0, 1, 4);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(4, 1);
    connect(sized_, &QRadioButton::toggled, this, [this] { Follow(); });
    Follow();
}

void PrintPlacementPage::Follow() {
    width_->setEnabled(sized_->isChecked());
    height_->setEnabled(sized_->isChecked());
}

controls::PrintPlacement PrintPlacementPage::Placement() const {
    controls::PrintPlacement p;
    p.How = fit_->isChecked()     ? controls::PrintPlacement::Size::FitPage
            : sized_->isChecked() ? controls::PrintPlacement::Size::Millimetres
                                  : controls::PrintPlacement::Size::Own;
    p.Millimetres = QSizeF(width_->value(), height_->value());
    p.Centred = centred_->isChecked();
    return p;
}

void PrintPlacementPage::Remember() const {
    QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
    const controls::PrintPlacement p = Placement();
    settings.setValue(QStringLiteral("Print/Placement"), int(p.How));
    settings.setValue(QStringLiteral("Print/WidthMm"), p.Millimetres.width());
    settings.setValue(QStringLiteral("Print/HeightMm"), p.Millimetres.height());
    settings.setValue(QStringLiteral("Print/Centred"), p.Centred);
}
