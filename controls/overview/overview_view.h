// SPDX-License-Identifier: MIT
#pragma once

#include "controls/overview/overview_model.h"
#include "controls/overview/tile_cache.h"
#include "controls/overview/tile_loader.h"

#include <QListView>
#include <QRegion>
#include <QTimer>

#include <memory>

namespace data {
class TBlobField;
class TDataSource;
class FindIndex;
} // namespace data
namespace imaging {
class Decoder;
} // namespace imaging

namespace controls {

class TileDelegate;

/// The overview: the records shown as a grid of tiles, each picture fitted into a square with
/// its file name under it. It follows the record source's current record and leads it (a
/// click makes a record current); Ctrl and Shift select several tiles. Tiles come from the
/// loader: only those on screen (and the next screen) are asked for.
class TOverview : public QListView {
    Q_OBJECT
public:
    static constexpr int kMinSide = 64, kMaxSide = 256, kDefaultSide = 128, kSideStep = 16;

    TOverview(imaging::Decoder& decoder, qint64 memoryLimitBytes, QWidget* parent = nullptr);
    ~TOverview() override;

    /// Binds the overview to a data source and the fields it shows; it follows the record
    /// source from then on (its records, filters and current record).
    void SetDataSource(data::TDataSource* source, const QString& fileName,
                       const QString& description, const QString& picture);
    /// The find index of the record source's records (null while it is being built).
    void SetFindIndex(std::shared_ptr<const data::FindIndex> index);
    /// Narrows the grid to the records the text finds among those the record source shows,
    /// best first; an empty text shows them all in record order.
    void SetFindText(const QString& text);
    const QString& FindText() const { return findText_; }
    /// Reads the record source's records again (its records or filters changed).
    void Refill();
    /// Asks for the tiles on screen again (the caches were emptied or replaced).
    void ReloadTiles();
    OverviewModel& Model() { return *model_; }
    TileLoader& Loader() { return *loader_; }
    TileCache& Cache() { return cache_; }

    /// Shows these records in this order, the current one highlighted and in view.
    void ShowRecords(std::vector<int> records, int current);
    /// The record source's current record (-1 without one).
    int CurrentRecord() const;
    /// Makes a record's tile the current one without telling anyone (the record source
    /// moved); -1: none.
    void FollowRecord(int record);
    /// The stored records of the selected tiles, in the grid's order.
    std::vector<int> SelectedRecords() const;

    int TileSide() const;
    void SetTileSide(int side);
    /// The key of a row's tile at this view's size and screen density.
    TileKey KeyAt(int row) const;
    /// The rows on screen now, in order.
    std::pair<int, int> ShownRows() const;

signals:
    /// The user made a record current (a click, a key).
    void RecordChosen(int record);
    /// Enter or a double click: show the current record in the single view.
    void ShowRequested();
    /// Escape.
    void LeaveRequested();
    void TileSideChanged(int side);
    /// The find's result: how many records it found (-1: no find text; `ready` false while
    /// the index is still being built).
    void FindAnswered(int hits, bool ready);
    /// A tile's context menu is asked for (the tile is current by then).
    void ContextMenuAt(int record, const QPoint& globalPos);
    /// A tile was pressed and the pointer moved past the platform's drag distance with the
    /// button held: its picture is to be dragged out (the tile is current by then).
    void DragAsked(int record);

public:
    // The grid's geometry, by arithmetic (grid_geometry.cpp): cells of one size in rows as wide
    // as the view, so laying out a million records costs nothing and holds nothing. The base
    // list view's own layout, which walks every row, is never run.
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void doItemsLayout() override;
    /// The cell's size and the number of cells a row.
    QSize CellSize() const;
    int Columns() const;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    int horizontalOffset() const override { return 0; }
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    /// The rectangle of a row's cell in the viewport.
    QRect CellRect(int row) const;
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int pressRow_ = -1; // a tile a drag out would take, while the button is held
    QPoint pressPos_;
    class Link;
    friend class Link;
    /// The record source's records changed: refilled now, or when the grid shows.
    void RecordsChanged();
    void ScheduleWanted();
    void UpdateWanted();
    void UpdateGrid();
    void TileArrived(const TileKey& key);
    /// Whether the tiles of these rows are all in the memory cache.
    bool Complete(int first, int last) const;
    /// Ends the wait of the first paint after a show.
    void ReleaseHold();
    /// Paints the cells of the tiles that arrived since the last time.
    void PaintArrived();
    int Density() const;

    TileCache cache_;
    OverviewModel* model_;
    TileDelegate* delegate_;
    std::unique_ptr<TileLoader> loader_;
    std::unique_ptr<Link> link_;
    QString fileNameField_, descriptionField_, pictureField_;
    std::shared_ptr<const data::FindIndex> findIndex_;
    QString findText_;
    std::uint64_t filledGeneration_ = ~std::uint64_t(0);
    bool following_ = false;
    bool wantedScheduled_ = false;
    bool holding_ = false; // the first paint after a show waits for the screen's tiles
    QTimer holdTimer_;
    QRegion arrived_; // cells whose tiles arrived, not yet painted
    QTimer arrivedTimer_;
    bool stale_ = false; // the records changed while the grid was hidden
};

} // namespace controls
