// SPDX-License-Identifier: MIT
#include "app/about_box.h"

#include "app/window_font.h"
#include "platform/core/system_colours.h"

#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace {

// The green check mark of an OK button.
QIcon CheckMarkGlyph() {
    QPixmap glyph(18, 18);
    glyph.fill(Qt::transparent);
    QPainter p(&glyph);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(2.5, 9.5);
    tick.lineTo(7, 14.5);
    tick.lineTo(15.5, 3.5);
    p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    return QIcon(glyph);
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About Vellamore"));
    setFont(FormFont());
    setFixedSize(632, 439);
    setSizeGripEnabled(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, platform::ColorToQColor(platform::clBtnFace));
    setPalette(palette);
    setAutoFillBackground(true);
    Panel = BuildCreditPanel(this, -8);

    BitBtn1 = new QPushButton(CheckMarkGlyph(), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(272, 400, 97, 33);
    BitBtn1->setDefault(true);
    BitBtn1->setFocus();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    CentreOnScreen(this);
}
