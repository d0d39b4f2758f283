// SPDX-License-Identifier: MIT
#include "app/overview_panel.h"

#include "app/data_module.h"
#include "app/help_context.h"
#include "controls/overview/find_builder.h"
#include "controls/overview/overview_view.h"
#include "data/thumbnail_store.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

QSettings Settings() {
    return QSettings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
}

qint64 MegaBytes(const char* key, int fallback) {
    const int value = Settings().value(QLatin1String(key), fallback).toInt();
    return qint64(value > 0 ? value : fallback) * 1024 * 1024;
}

} // namespace

QString TOverviewPanel::CacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/vellamore");
}

TOverviewPanel::TOverviewPanel(imaging::Decoder& decoder, QWidget* parent)
    : QWidget(parent)
    , finder_(std::make_unique<controls::FindBuilder>()) {
    setObjectName(QStringLiteral("pnlOverview"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 0);
    column->setSpacing(4);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(tr("&Find:"), this);
    edFind_ = new QLineEdit(this);
    edFind_->setObjectName(QStringLiteral("edFind"));
    edFind_->setClearButtonEnabled(true);
    edFind_->setPlaceholderText(tr("Words of the file name or description"));
    edFind_->setAccessibleName(tr("Find"));
    edFind_->setAccessibleDescription(
        tr("Narrows the overview at each key: every word must start a word of the file name or "
           "description; longer words may have one typo"));
    label->setBuddy(edFind_);
    lblHits_ = new QLabel(this);
    lblHits_->setObjectName(QStringLiteral("lblHits"));
    lblHits_->setMinimumWidth(lblHits_->fontMetrics().horizontalAdvance(tr("999999 found")));
    row->addWidget(label);
    row->addWidget(edFind_, 1);
    row->addWidget(lblHits_);
    column->addLayout(row);

    grid_ =
        new controls::TOverview(decoder, MegaBytes("Overview/MemoryCacheMB", kMemoryCacheMB), this);
    grid_->SetTileSide(
        Settings()
            .value(QStringLiteral("Overview/TileSize"), controls::TOverview::kDefaultSide)
            .toInt());
    column->addWidget(grid_, 1);
    setFocusProxy(grid_);
    SetHelpContext(grid_, 14);
    SetHelpContext(edFind_, 15);

    connect(edFind_, &QLineEdit::textChanged, grid_, &controls::TOverview::SetFindText);
    connect(grid_, &controls::TOverview::FindAnswered, this, &TOverviewPanel::ShowHits);
    connect(grid_, &controls::TOverview::TileSideChanged, this,
            [](int side) { Settings().setValue(QStringLiteral("Overview/TileSize"), side); });
    connect(finder_.get(), &controls::FindBuilder::Ready, this,
            [this] { grid_->SetFindIndex(finder_->Index()); });
    // Down from the find box goes into the grid.
    edFind_->installEventFilter(this);
}

TOverviewPanel::~TOverviewPanel() = default;

void TOverviewPanel::SetDataModule(TDataModule1* module) {
    data_ = module;
    grid_->SetDataSource(module ? module->DataSource1 : nullptr, QStringLiteral("FileName"),
                         QStringLiteral("Description"), QStringLiteral("GraphicFile"));
}

void TOverviewPanel::CatalogueOpened() {
    if (!data_ || !data_->Table1->Active())
        return;
    const QString path = data_->Table1->TablePath();
    const QString identity = data::ThumbnailStore::IdentityOf(path);
    if (identity != storeIdentity_) {
        // Another catalogue, or this one rewritten: the old index and tiles name its records
        // wrongly from now on.
        storeIdentity_ = identity;
        grid_->SetFindIndex(nullptr);
        findPending_ = true;
        if (isVisible())
            BuildFindIndex();
        grid_->Cache().Clear();
        grid_->Loader().OpenStore(data::ThumbnailStore::FileFor(CacheFolder(), path),
                                  data_->Table1->Key(), identity,
                                  MegaBytes("Overview/DiskCacheMB", kDiskCacheMB));
        grid_->Loader().OpenCatalogue(path, data_->Table1->Key(), QStringLiteral("GraphicFile"));
        grid_->ReloadTiles();
    }
}

// The index is made when the overview is first shown on a catalogue, not at its opening: a
// catalogue of a million records then opens without the memory and work of an index that
// only finding uses.
void TOverviewPanel::BuildFindIndex() {
    if (!findPending_ || !data_ || !data_->Table1->Active())
        return;
    findPending_ = false;
    finder_->Build(*data_->Table1, *data_->Table1FileName, *data_->Table1Description,
                   storeIdentity_);
}

void TOverviewPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    BuildFindIndex();
}

void TOverviewPanel::ClearCaches() {
    grid_->Loader().ClearCaches();
    grid_->ReloadTiles();
}

bool TOverviewPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edFind_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_PageDown) {
            grid_->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TOverviewPanel::ShowHits(int hits, bool ready) {
    if (!ready)
        lblHits_->setText(tr("Indexing..."));
    else if (hits < 0)
        lblHits_->clear();
    else if (hits == 1)
        lblHits_->setText(tr("1 found"));
    else
        lblHits_->setText(tr("%1 found").arg(hits));
}
