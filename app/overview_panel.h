// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class TDataModule1;
namespace controls {
class FindBuilder;
class TOverview;
} // namespace controls
namespace imaging {
class Decoder;
} // namespace imaging

/// The overview mode's part of the main window: the find box with its count of hits above the
/// grid of tiles. It keeps the settings of the overview (tile size, cache bounds), the
/// catalogue's disk cache and its find index.
class TOverviewPanel : public QWidget {
    Q_OBJECT
public:
    TOverviewPanel(imaging::Decoder& decoder, QWidget* parent = nullptr);
    ~TOverviewPanel() override;

    /// Binds the grid to the catalogue.
    void SetDataModule(TDataModule1* module);
    /// After each activation: a catalogue opened anew gets its disk cache, and its find index
    /// once the overview shows.
    void CatalogueOpened();
    /// Empties the memory and the disk cache.
    void ClearCaches();

    controls::TOverview* Grid() const { return grid_; }
    QLineEdit* FindBox() const { return edFind_; }
    QLabel* Hits() const { return lblHits_; }
    controls::FindBuilder& Finder() const { return *finder_; }

    // The settings' keys and defaults.
    static constexpr int kMemoryCacheMB = 64, kDiskCacheMB = 256;
    /// The cache folder: $XDG_CACHE_HOME/vellamore.
    static QString CacheFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowHits(int hits, bool ready);
    void BuildFindIndex();

    TDataModule1* data_ = nullptr;
    QLineEdit* edFind_;
    QLabel* lblHits_;
    controls::TOverview* grid_;
    std::unique_ptr<controls::FindBuilder> finder_;
    QString storeIdentity_;
    bool findPending_ = false; // the open catalogue's index is still to be made
};
