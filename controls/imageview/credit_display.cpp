// SPDX-License-Identifier: MIT
#include "controls/imageview/credit_display.h"

#include "platform/core/system_colours.h"

#include <QFontMetrics>
#include <QPainter>

namespace controls {

namespace {

// A strip of the text's extent (and `extraHeight` more) on the background, the text at (0, 0).
QImage DrawStrip(const QString& text, const QFont& font, const QColor& foreground,
                 const QColor& background, int width, int extraHeight, int* textHeight) {
    const QFontMetrics metrics(font);
    *textHeight = metrics.height();
    QImage strip(std::max(1, width), std::max(1, *textHeight + extraHeight), QImage::Format_RGB32);
    strip.fill(background);
    QPainter p(&strip);
    p.setFont(font);
    p.setPen(foreground);
    p.drawText(QPoint(0, metrics.ascent()), text);
    return strip;
}

} // namespace

void CreditDisplay::Begin(Kind kind, const imaging::MessageFont& font, std::uint32_t background,
                          int speed, QSize control) {
    kind_ = kind;
    font_ = font.ToQFont();
    foreground_ = platform::ColorToQColor(font.Colour);
    background_ = platform::ColorToQColor(background);
    speed_ = speed;
    ticks_ = 0;
    control_ = control;
}

void CreditDisplay::StartScrolling(const QString& text, const imaging::MessageFont& font,
                                   std::uint32_t background, int speed, QSize control) {
    Begin(Kind::Scrolling, font, background, speed, control);
    QString shown = text;
    if (shown.isEmpty() || !shown.endsWith(u' '))
        shown += u' ';
    const int width = QFontMetrics(font_).horizontalAdvance(shown);
    strip_ = DrawStrip(shown, font_, foreground_, background_, width, 0, &textHeight_);
    position_ = QPoint(control.width(), (control.height() - textHeight_) / 2);
}

void CreditDisplay::StartRolling(const QStringList& lines, const imaging::MessageFont& font,
                                 std::uint32_t background, int speed, QSize control) {
    Begin(Kind::Rolling, font, background, speed, control);
    lines_ = lines;
    index_ = 0;
    PrepareLine();
}

void CreditDisplay::PrepareLine() {
    if (index_ < 0 || index_ >= lines_.size())
        index_ = 0;
    QString line = lines_.value(index_);
    const QFontMetrics metrics(font_);
    int width = 0;
    if (!line.isEmpty()) {
        if (!line.startsWith(u' '))
            line.prepend(QStringLiteral("  "));
        if (!line.endsWith(u' '))
            line += u' ';
        const int text = metrics.horizontalAdvance(line);
        // One average character more; a line of one or two characters has no average over
        // (characters - 2), so it takes the font's own average width instead.
        const int characters = int(line.size());
        width = text + (characters > 2 ? text / (characters - 2) : metrics.averageCharWidth());
    }
    // An empty line shows nothing: its strip is the background alone.
    strip_ = DrawStrip(line, font_, foreground_, background_, width, 5, &textHeight_);
    position_ = QPoint((control_.width() - strip_.width()) / 2, control_.height());
}

void CreditDisplay::Stop() {
    kind_ = Kind::None;
    strip_ = QImage();
    lines_.clear();
}

bool CreditDisplay::Tick() {
    if (kind_ == Kind::None)
        return false;
    if (++ticks_ <= speed_)
        return false;
    ticks_ = 0;
    if (kind_ == Kind::Scrolling) {
        position_.rx() -= 1;
        if (position_.x() + strip_.width() < 0)
            position_.setX(control_.width());
        return true;
    }
    position_.ry() -= 1;
    if (position_.y() < -textHeight_ - 5) {
        if (lines_.isEmpty()) {
            position_.setY(control_.height());
        } else {
            ++index_;
            PrepareLine();
        }
    }
    return true;
}

} // namespace controls
