// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/credit/credit_message.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QStringList>

namespace controls {

/// A credit message on show in the image view: the strip of text that moves, where it is,
/// and how ticks move it. A scrolling message (SCM) crosses from right to left; a credit box
/// (CMS) rolls its lines up one after the other. The widget posts the ticks and draws
/// Strip() at Position() on a field of Background().
class CreditDisplay {
public:
    enum class Kind { None, Scrolling, Rolling };

    /// The scrolling text, starting just beyond the right edge, centred vertically.
    void StartScrolling(const QString& text, const imaging::MessageFont& font,
                        std::uint32_t background, int speed, QSize control);
    /// The credit lines, the first starting just below the bottom edge, centred across.
    void StartRolling(const QStringList& lines, const imaging::MessageFont& font,
                      std::uint32_t background, int speed, QSize control);
    void Stop();

    Kind Showing() const { return kind_; }
    /// One tick of the kind's own timer; true when the strip moved (the view repaints).
    /// The strip moves once every speed + 1 ticks.
    bool Tick();

    const QImage& Strip() const { return strip_; }
    QPoint Position() const { return position_; }
    QColor Background() const { return background_; }
    int LineIndex() const { return index_; }

private:
    // What both kinds take from the message: font, colours, speed and the control's size.
    void Begin(Kind kind, const imaging::MessageFont& font, std::uint32_t background, int speed,
               QSize control);
    void PrepareLine();

    Kind kind_ = Kind::None;
    QFont font_;
    QColor foreground_, background_;
    int speed_ = 1;
    int ticks_ = 0;
    QSize control_;
    QImage strip_;
    QPoint position_;
    int textHeight_ = 0;
    QStringList lines_;
    int index_ = 0;
};

} // namespace controls
