// SPDX-License-Identifier: MIT
#include "controls/overview/overview_view.h"

#include "controls/overview/tile_delegate.h"
#include "data/data_link.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/find_index.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace controls {

// The overview's connection to the record source: a change of its records (a filter, a tab)
// refills the grid, a move of its cursor moves the current tile.
class TOverview::Link : public data::TDataLink {
public:
    explicit Link(TOverview& view)
        : view_(view) {}
    // While the view itself moves the record source (a tile made current), the echo of that
    // move is not followed: it would clear a selection being made with Ctrl or Shift.
    void NotifyActiveChange() override { view_.RecordsChanged(); }
    void NotifyDataSetChange() override {
        if (!view_.following_)
            view_.RecordsChanged();
    }
    void NotifyScroll(int) override {
        if (view_.isVisible() && !view_.following_)
            view_.FollowRecord(view_.CurrentRecord());
    }

private:
    TOverview& view_;
};

TOverview::TOverview(imaging::Decoder& decoder, qint64 memoryLimitBytes, QWidget* parent)
    : QListView(parent)
    , cache_(memoryLimitBytes)
    , model_(new OverviewModel(this)) {
    setObjectName(QStringLiteral("Overview"));
    delegate_ = new TileDelegate(
        [this](int row) -> const Tile* {
            return row < model_->rowCount() ? cache_.Find(KeyAt(row)) : nullptr;
        },
        this);
    link_ = std::make_unique<Link>(*this);
    loader_ = std::make_unique<TileLoader>(decoder, cache_, [this](int record) {
        const data::TDataSet* set = link_->Active() ? link_->DataSet() : nullptr;
        const auto* picture =
            set ? dynamic_cast<const data::TBlobField*>(set->FindField(pictureField_)) : nullptr;
        return picture ? set->RecordBlob(record, *picture) : QByteArray();
    });
    setModel(model_);
    setItemDelegate(delegate_);
    // The list view's own layout is replaced by the grid's arithmetic (grid_geometry.cpp); it
    // stays the base for its keyboard search and its accessible list of items.
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setMouseTracking(true);
    setAccessibleName(tr("Overview of the pictures"));
    UpdateGrid();
    connect(loader_.get(), &TileLoader::TileReady, this, &TOverview::TileArrived);
    holdTimer_.setSingleShot(true);
    holdTimer_.setInterval(16);
    connect(&holdTimer_, &QTimer::timeout, this, &TOverview::ReleaseHold);
    arrivedTimer_.setSingleShot(true);
    arrivedTimer_.setInterval(40);
    connect(&arrivedTimer_, &QTimer::timeout, this, &TOverview::PaintArrived);
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit ShowRequested(); });
}

TOverview::~TOverview() {
    link_->SetDataSource(nullptr);
}

void TOverview::SetDataSource(data::TDataSource* source, const QString& fileName,
                              const QString& description, const QString& picture) {
    fileNameField_ = fileName;
    descriptionField_ = description;
    pictureField_ = picture;
    filledGeneration_ = ~std::uint64_t(0);
    link_->SetDataSource(source);
    RecordsChanged();
}

void TOverview::SetFindIndex(std::shared_ptr<const data::FindIndex> index) {
    findIndex_ = std::move(index);
    if (!findText_.isEmpty()) {
        filledGeneration_ = ~std::uint64_t(0);
        RecordsChanged();
    }
}

void TOverview::SetFindText(const QString& text) {
    if (text == findText_)
        return;
    findText_ = text;
    filledGeneration_ = ~std::uint64_t(0);
    Refill();
}

void TOverview::ReloadTiles() {
    loader_->Forget();
    ScheduleWanted();
    viewport()->update();
}

int TOverview::CurrentRecord() const {
    const data::TDataSet* set = link_->Active() ? link_->DataSet() : nullptr;
    const int position = set ? set->CurrentPosition() : -1;
    return position < 0 ? -1 : set->VisibleRecord(position);
}

void TOverview::Refill() {
    stale_ = false;
    const data::TDataSet* set = link_->Active() ? link_->DataSet() : nullptr;
    if (!set) {
        filledGeneration_ = ~std::uint64_t(0);
        model_->SetSource(nullptr, nullptr, nullptr);
        return;
    }
    if (set->VisibleGeneration() == filledGeneration_ && model_->rowCount() > 0) {
        FollowRecord(CurrentRecord());
        if (isVisible())
            UpdateWanted(); // the same rows: their tiles may have gone from the memory cache
        return;
    }
    if (!set->Active())
        return;
    const data::TField* fileName = set->FindField(fileNameField_);
    const data::TField* description = set->FindField(descriptionField_);
    model_->SetSource(set, fileName, description);
    filledGeneration_ = set->VisibleGeneration();
    const int count = set->CountRecords();
    std::vector<int> records;
    if (findText_.trimmed().isEmpty()) {
        records.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            records[size_t(i)] = set->VisibleRecord(i);
        emit FindAnswered(-1, true);
    } else if (findIndex_ && findIndex_->Records() == std::uint32_t(set->RecordCount())) {
        // Find narrows within what the record source shows (its tab and search).
        std::vector<bool> within(size_t(set->RecordCount()), false);
        for (int i = 0; i < count; ++i)
            within[size_t(set->VisibleRecord(i))] = true;
        const std::vector<data::FindIndex::Hit> hits = findIndex_->Find(findText_, &within);
        records.reserve(hits.size());
        for (const data::FindIndex::Hit& hit : hits)
            records.push_back(int(hit.Record));
        emit FindAnswered(int(records.size()), true);
    } else {
        emit FindAnswered(0, false);
    }
    ShowRecords(std::move(records), CurrentRecord());
}

int TOverview::Density() const {
    return int(std::lround(devicePixelRatioF() * 100));
}

int TOverview::TileSide() const {
    return delegate_->Side();
}

void TOverview::SetTileSide(int side) {
    side = std::clamp(side, kMinSide, kMaxSide);
    if (side == delegate_->Side())
        return;
    const QModelIndex current = currentIndex();
    delegate_->SetSide(side);
    UpdateGrid();
    if (current.isValid())
        scrollTo(current);
    emit TileSideChanged(side);
}

void TOverview::UpdateGrid() {
    updateGeometries();
    viewport()->update();
}

TileKey TOverview::KeyAt(int row) const {
    return TileKey{model_->RowIdAt(row), delegate_->Side(), Density()};
}

void TOverview::ShowRecords(std::vector<int> records, int current) {
    const bool was = following_;
    following_ = true;
    model_->SetRecords(std::move(records));
    following_ = was;
    updateGeometries(); // the scroll range of the new rows, before the current one is shown
    FollowRecord(current);
    if (isVisible()) {
        // The tiles are asked for at once, so they decode while the grid is laid out and
        // painted.
        executeDelayedItemsLayout();
        UpdateWanted();
    } else {
        ScheduleWanted();
    }
}

void TOverview::RecordsChanged() {
    // Hidden, the grid is filled when it shows: a tab change in the single view costs
    // nothing here.
    if (isVisible())
        Refill();
    else
        stale_ = true;
}

void TOverview::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    // The screen's tiles are asked for before the first paint, which then runs beside them
    // (a refill asks for them itself).
    if (stale_) {
        Refill();
    } else {
        FollowRecord(CurrentRecord());
        UpdateWanted();
    }
    // The first paint waits up to a frame for the screen's tiles: a screen the disk cache
    // holds then shows whole at once, not as empty frames filled a moment later.
    holding_ = true;
    holdTimer_.start();
    // Meanwhile the captions are laid out, so the paint has only to draw them.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const auto [first, last] = ShownRows();
    for (int row = first; row <= last; ++row) {
        option.rect = CellRect(row);
        delegate_->PrepareCaption(option, model_->index(row));
    }
}

void TOverview::hideEvent(QHideEvent* event) {
    holdTimer_.stop();
    holding_ = false;
    QListView::hideEvent(event);
}

void TOverview::ReleaseHold() {
    holdTimer_.stop();
    if (!holding_)
        return;
    holding_ = false;
    viewport()->update();
}

void TOverview::FollowRecord(int record) {
    const int row = record < 0 ? -1 : model_->RowOf(record);
    const bool was = following_;
    following_ = true;
    if (row < 0) {
        selectionModel()->clearCurrentIndex();
    } else if (row != currentIndex().row()) {
        const QModelIndex index = model_->index(row);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        scrollTo(index);
    }
    following_ = was;
}

std::vector<int> TOverview::SelectedRecords() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    std::vector<int> records;
    records.reserve(rows.size());
    for (int row : rows)
        records.push_back(model_->RecordAt(row));
    return records;
}

void TOverview::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    if (following_ || !current.isValid())
        return;
    // The record source moves to the tile's record, as a click on its list would move it.
    const int record = model_->RecordAt(current.row());
    data::TDataSet* set = link_->Active() ? link_->DataSet() : nullptr;
    const int to = set ? set->PositionOf(record) : -1;
    const int from = set ? set->CurrentPosition() : -1;
    if (from >= 0 && to >= 0 && to != from) {
        struct Following {
            bool& flag;
            bool was;
            ~Following() { flag = was; }
        } hold{following_, following_};
        following_ = true;
        link_->StepBy(to - from);
    }
    emit RecordChosen(record);
}

// ---- Which tiles are wanted --------------------------------------------------------------

void TOverview::ScheduleWanted() {
    if (wantedScheduled_)
        return;
    wantedScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        wantedScheduled_ = false;
        UpdateWanted();
    });
}

void TOverview::UpdateWanted() {
    // Hidden, or its rows not read again yet: nothing is asked for (the rows may name records
    // of a table opened since).
    if (!isVisible() || stale_) {
        loader_->Want({});
        return;
    }
    const auto [first, last] = ShownRows();
    std::vector<TileLoader::Wanted> wanted;
    if (last >= first) {
        // The screen, and once it is all there the next one too, so a page down finds its
        // tiles ready; until then the next screen's reads and decodes take no time from it.
        const bool complete = Complete(first, last);
        const int next =
            complete ? std::min(model_->rowCount() - 1, last + (last - first + 1)) : last;
        wanted.reserve(size_t(next - first + 1));
        for (int row = first; row <= next; ++row)
            wanted.push_back({KeyAt(row), model_->RecordAt(row)});
    }
    loader_->Want(wanted);
}

void TOverview::TileArrived(const TileKey& key) {
    if (!isVisible() || stale_ || key.Pixels != delegate_->Side() || key.Density != Density())
        return;
    const auto [first, last] = ShownRows();
    for (int row = first; row <= last; ++row)
        if (model_->RowIdAt(row) == key.RowId)
            arrived_ += CellRect(row);
    if (arrived_.isEmpty())
        return;
    // Tiles arriving one after another are painted together a few times a second, so the GUI
    // thread leaves the cores to the decodes; the one that completes the screen at once.
    if (Complete(first, last)) {
        ReleaseHold();
        PaintArrived();
        ScheduleWanted(); // the next screen now
    } else if (!arrivedTimer_.isActive())
        arrivedTimer_.start();
}

bool TOverview::Complete(int first, int last) const {
    TileKey key{0, delegate_->Side(), Density()};
    for (int row = first; row <= last; ++row) {
        key.RowId = model_->RowIdAt(row);
        if (!cache_.Contains(key))
            return false;
    }
    return true;
}

void TOverview::PaintArrived() {
    arrivedTimer_.stop();
    if (!arrived_.isEmpty())
        viewport()->update(arrived_);
    arrived_ = QRegion();
}

// ---- Input -------------------------------------------------------------------------------

void TOverview::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentIndex().isValid())
            emit ShowRequested();
        event->accept();
        return;
    case Qt::Key_Escape:
        emit LeaveRequested();
        event->accept();
        return;
    default:
        QListView::keyPressEvent(event);
    }
}

void TOverview::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        const int steps = event->angleDelta().y() / 120;
        if (steps != 0)
            SetTileSide(TileSide() + steps * kSideStep);
        event->accept();
        return;
    }
    QListView::wheelEvent(event);
}

void TOverview::contextMenuEvent(QContextMenuEvent* event) {
    QModelIndex index =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!index.isValid())
        return;
    if (!selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(visualRect(index).center());
    emit ContextMenuAt(model_->RecordAt(index.row()), at);
}

void TOverview::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
}

void TOverview::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    pressRow_ = event->button() == Qt::LeftButton && index.isValid() ? index.row() : -1;
    pressPos_ = event->position().toPoint();
}

void TOverview::mouseMoveEvent(QMouseEvent* event) {
    // A drag out of the program takes the place of the rubber band a held button draws.
    if (pressRow_ >= 0 && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - pressPos_).manhattanLength() >=
            QApplication::startDragDistance()) {
        const int row = pressRow_;
        pressRow_ = -1;
        if (row < model_->rowCount()) {
            emit DragAsked(model_->RecordAt(row));
            setState(NoState); // the drop took the button's release
        }
        return;
    }
    if (pressRow_ < 0 || !(event->buttons() & Qt::LeftButton))
        QListView::mouseMoveEvent(event);
}

bool TOverview::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // A broken picture's tooltip is the engine's message; any other tile's its description.
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid()) {
            const Tile* tile = cache_.Find(KeyAt(index.row()));
            const QString text = tile && tile->What == Tile::Kind::Broken
                                     ? tile->Text
                                     : model_->DescriptionAt(index.row());
            QToolTip::showText(help->globalPos(), text, viewport(), visualRect(index));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    if (event->type() == QEvent::FontChange || event->type() == QEvent::ScreenChangeInternal)
        UpdateGrid();
    return QListView::viewportEvent(event);
}

} // namespace controls
