// SPDX-License-Identifier: MIT
#include "controls/imagetoolbar/print_options.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace controls {

TPrintOptions::TPrintOptions(QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("PrintOptions"));
    setWindowTitle(QStringLiteral("Print Options"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    imageSize_ = new QRadioButton(QStringLiteral("&Image Size"), this);
    imageSize_->setObjectName(QStringLiteral("ImageSize"));
    imageSize_->setAutoExclusive(true);
    imageSize_->setGeometry(10, 15, 90, imageSize_->sizeHint().height());
    paperSize_ = new QRadioButton(QStringLiteral("&Paper Size"), this);
    paperSize_->setObjectName(QStringLiteral("PaperSize"));
    paperSize_->setGeometry(10, imageSize_->y() + imageSize_->height() + 10, 90,
                            imageSize_->height());
    // Neither is checked: OK with neither prints over the whole page.
    imageSize_->setChecked(false);
    paperSize_->setChecked(false);
    const int left = imageSize_->x() + imageSize_->width() + 20;
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setDefault(true);
    const QSize button = ok_->sizeHint().expandedTo(QSize(75, 25));
    ok_->setGeometry(left, 5, button.width(), button.height());
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    cancel_->setGeometry(left, ok_->y() + ok_->height() + 10, button.width(), button.height());
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(cancel_->x() + cancel_->width() + 15, 100);
    imageSize_->setFocus();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace controls
