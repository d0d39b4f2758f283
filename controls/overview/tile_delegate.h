// SPDX-License-Identifier: MIT
#pragma once

#include "controls/overview/tile_cache.h"

#include <QCache>
#include <QStaticText>
#include <QStyledItemDelegate>

#include <functional>

namespace controls {

/// Paints one tile of the overview: the picture fitted into its square (or the kind of a
/// record without one, or the broken-picture mark), the file name under it, the selection
/// and the current tile's frame.
class TileDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    /// `find` gives the cached tile of a row (null while it is on its way).
    TileDelegate(std::function<const Tile*(int row)> find, QObject* parent = nullptr);

    void SetSide(int side) { side_ = side; }
    int Side() const { return side_; }
    /// The cell a tile takes: its square, the caption line and the margins.
    QSize CellSize(const QFontMetrics& metrics) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// Lays out a row's caption ahead of its paint (while the grid waits for its tiles).
    void PrepareCaption(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    /// Draws the broken-picture mark into a square.
    static void PaintBroken(QPainter& painter, const QRect& square);

    static constexpr int kMargin = 6;

private:
    /// A row's caption, elided to its width and laid out once for every paint that follows.
    struct Caption {
        QString Source;
        int Width = 0;
        QFont Font;
        QStaticText Text;
    };
    QRect CaptionRect(const QRect& cell, const QFontMetrics& metrics) const;
    const QStaticText& CaptionOf(int row, const QString& source, int width,
                                 const QStyleOptionViewItem& option) const;

    std::function<const Tile*(int row)> find_;
    int side_ = 128;
    mutable QCache<int, Caption> captions_{4096};
};

} // namespace controls
