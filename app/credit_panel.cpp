// SPDX-License-Identifier: MIT
#include "app/credit_panel.h"

#include "platform/core/system_colours.h"
#include "platform/ui/readable_colours.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>

namespace {

QFont TimesBold(int pixelHeight) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelHeight);
    font.setBold(true);
    return font;
}

QLabel* MakeLabel(QWidget* window, const QString& name, const QRect& geometry, int fontHeight,
                  bool opaque) {
    auto* label = new QLabel(window);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(TimesBold(fontHeight));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(false);
    QPalette palette = label->palette();
    // White, as the credits always were; the desktop's text colour where it reads on white.
    palette.setColor(
        QPalette::WindowText,
        platform::ReadableTextOn(Qt::white, platform::ColorToQColor(platform::clWindowText)));
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(opaque);
    return label;
}

} // namespace

QString CopyrightText() {
    return QStringLiteral("Copyright \u00A9 2026 Vellamore Press");
}

void CreditPanel::SetTexts(const QString& quantity, const QString& line1, const QString& line2) {
    lblQuantity->setText(quantity);
    lblLine1->setText(line1);
    lblLine2->setText(line2);
}

CreditPanel BuildCreditPanel(QWidget* window, int imageLeft) {
    CreditPanel panel;
    panel.Image1 = new QLabel(window);
    panel.Image1->setObjectName(QStringLiteral("Image1"));
    const QPixmap picture(QStringLiteral(":/artwork/splash.png"));
    panel.Image1->setPixmap(picture);
    // The picture control sizes itself to its picture.
    panel.Image1->setGeometry(imageLeft, 8, picture.width(), picture.height());

    panel.lblQuantity =
        MakeLabel(window, QStringLiteral("lblQuantity"), {112, 80, 417, 33}, 32, true);
    panel.lblCopyright =
        MakeLabel(window, QStringLiteral("lblCopyright"), {112, 296, 417, 25}, 16, false);
    panel.lblCopyright->setText(CopyrightText());
    panel.lblLine1 = MakeLabel(window, QStringLiteral("lblLine1"), {112, 232, 417, 33}, 24, true);
    panel.lblLine2 = MakeLabel(window, QStringLiteral("lblLine2"), {112, 264, 417, 33}, 24, true);
    return panel;
}
