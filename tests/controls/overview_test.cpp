// SPDX-License-Identifier: MIT
// The overview over a real catalogue table: it follows the record source (its records, its
// filter, its current record) and leads it (a tile made current moves the record source), its
// tiles are decoded on the workers and kept in memory and on disk, and find narrows it.
#include "controls/overview/find_builder.h"
#include "controls/overview/overview_view.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "data/thumbnail_store.h"
#include "imaging/decoding/decoder.h"
#include "imaging/engine/engine_binding.h"
#include "tests/support/catalogue_fixture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray Png(QSize size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QRgb Colour(int i) {
    return qRgb((i * 37) % 200 + 40, (i * 91) % 200 + 40, (i * 53) % 200 + 40);
}

class OverviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        data::Session().AddPassword("tamsin###");
        imaging::EngineBinding::Instance().Start();
    }
    void TearDown() override {
        grid.reset();
        delete source;
        table.Close();
        imaging::EngineBinding::Instance().End();
    }
    // Pictures 0 .. count-1 of their own colours (wide ones), then the extra records.
    void Open(int count, std::vector<catalog::CatalogueRecord> extra = {}) {
        std::vector<catalog::CatalogueRecord> records;
        const QStringList kinds{"border", "letter", "misc"};
        for (int i = 0; i < count; ++i)
            records.push_back({QStringLiteral("PIC%1.PNG").arg(i, 3, 10, QLatin1Char('0')),
                               QStringLiteral("Picture %1").arg(i), kinds[i % 3],
                               Png({40, 20}, Colour(i))});
        for (auto& record : extra)
            records.push_back(std::move(record));
        fixture.WriteCatalogue("vlmor.db", records);
        table.SetTableName(fixture.Path("vlmor.db"));
        source = new data::TDataSource;
        source->SetDataSet(&table);
        table.Open();
        MakeGrid();
    }
    // A grid over the table, with a disk cache when given one (opened before it shows, as the
    // program opens it with the catalogue).
    void MakeGrid(const QString& store = {}, const QString& identity = {},
                  bool picturesOffGui = false) {
        grid = std::make_unique<controls::TOverview>(decoder, 64 << 20);
        grid->resize(500, 400);
        grid->SetTileSide(64);
        if (!store.isEmpty())
            grid->Loader().OpenStore(store, table.Key(), identity, 64 << 20);
        if (picturesOffGui)
            grid->Loader().OpenCatalogue(table.TablePath(), table.Key(), "GraphicFile");
        grid->SetDataSource(source, "FileName", "Description", "GraphicFile");
        grid->show();
    }
    // Lets the grid ask for what it shows, then waits for every tile to come, the next
    // screen's too (asked for once the shown one is complete, whenever that happens).
    void Settle() {
        do {
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            grid->Loader().WaitIdle();
            QCoreApplication::processEvents();
        } while (grid->Loader().Busy());
    }
    const controls::Tile* TileOf(int row) { return grid->Cache().Find(grid->KeyAt(row)); }

    CatalogueFixture fixture;
    imaging::Decoder decoder{2};
    data::TTable table;
    data::TDataSource* source = nullptr;
    std::unique_ptr<controls::TOverview> grid;
};

TEST_F(OverviewTest, FollowsTheRecordSourceAndLeadsIt) {
    Open(30);
    EXPECT_EQ(grid->Model().rowCount(), 30);
    EXPECT_EQ(grid->currentIndex().row(), 0);

    // The record source moves: the current tile follows, in view.
    table.StepBy(17);
    EXPECT_EQ(grid->currentIndex().row(), 17);
    EXPECT_TRUE(grid->viewport()->rect().intersects(grid->visualRect(grid->currentIndex())));

    // A tile made current (a click, an arrow key) moves the record source.
    std::vector<int> chosen;
    QObject::connect(grid.get(), &controls::TOverview::RecordChosen,
                     [&](int record) { chosen.push_back(record); });
    grid->setCurrentIndex(grid->Model().index(4));
    EXPECT_EQ(table.CurrentPosition(), 4);
    EXPECT_EQ(table.FindField("FileName")->AsString(), "PIC004.PNG");
    EXPECT_EQ(chosen, std::vector<int>{4});

    // A filter (a tab) refills the grid with what the record source shows, in record order.
    table.SetFilter("Category = 'letter'");
    table.SetFiltered(true);
    ASSERT_EQ(grid->Model().rowCount(), 10);
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(grid->Model().RecordAt(row), 1 + 3 * row);
    grid->setCurrentIndex(grid->Model().index(3));
    EXPECT_EQ(table.FindField("FileName")->AsString(), "PIC010.PNG");

    // Ctrl and Shift select several; the selection comes in the grid's order.
    auto* selection = grid->selectionModel();
    selection->select(grid->Model().index(5), QItemSelectionModel::Select);
    selection->select(grid->Model().index(1), QItemSelectionModel::Select);
    EXPECT_EQ(grid->SelectedRecords(), (std::vector<int>{4, 10, 16}));

    // Ctrl+clicks add tiles to the selection (the record source's move that each click makes is
    // not followed back, which would clear it).
    grid->setCurrentIndex(grid->Model().index(0));
    for (int row : {2, 4}) {
        const QPoint at = grid->visualRect(grid->Model().index(row)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
    }
    EXPECT_EQ(grid->SelectedRecords(), (std::vector<int>{1, 7, 13}));
    EXPECT_EQ(table.FindField("FileName")->AsString(), "PIC013.PNG");

    // Every tile has an accessible name: its file name and description.
    EXPECT_EQ(grid->Model().index(2).data(Qt::AccessibleTextRole).toString(),
              "PIC007.PNG, Picture 7");
}

TEST_F(OverviewTest, TheGridIsLaidOutByArithmeticAndWalkedByKeys) {
    Open(23);
    const int columns = grid->Columns();
    const QSize cell = grid->CellSize();
    ASSERT_EQ(columns, 500 / cell.width());
    // Every cell's rectangle hit-tests back to its row; past the last column or row, nothing.
    for (int row = 0; row < 23; ++row)
        EXPECT_EQ(grid->indexAt(grid->visualRect(grid->Model().index(row)).center()).row(), row);
    EXPECT_FALSE(grid->indexAt(QPoint(columns * cell.width() + 1, 2)).isValid());
    auto key = [&](Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, k, modifiers);
        QCoreApplication::sendEvent(grid.get(), &press);
        return grid->currentIndex().row();
    };
    grid->setFocus();
    EXPECT_EQ(key(Qt::Key_Right), 1);
    EXPECT_EQ(key(Qt::Key_Down), 1 + columns);
    EXPECT_EQ(key(Qt::Key_Left), columns);
    EXPECT_EQ(key(Qt::Key_Up), 0);
    EXPECT_EQ(key(Qt::Key_Up), 0) << "nothing above the first line";
    EXPECT_EQ(key(Qt::Key_End), 22);
    EXPECT_EQ(table.CurrentPosition(), 22) << "the keys lead the record source too";
    EXPECT_EQ(key(Qt::Key_Home), 0);
    // Down from a line above a short last line lands on the last tile.
    grid->setCurrentIndex(grid->Model().index(22 - 22 % columns - 1));
    EXPECT_EQ(key(Qt::Key_Down), std::min(22, 22 - 22 % columns - 1 + columns));
    // Shift with the arrows selects a run; the selection comes in the grid's order.
    EXPECT_EQ(key(Qt::Key_Home), 0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->SelectedRecords(), (std::vector<int>{0, 1, 2}));
    // The scroll bar spans every line; the last line scrolled in shows the last tile.
    grid->scrollTo(grid->Model().index(22));
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(grid->Model().index(22))));
    EXPECT_EQ(grid->ShownRows().second, 22);
}

TEST_F(OverviewTest, TilesAreTheFittedPicturesOrSayWhatTheRecordHolds) {
    std::vector<catalog::CatalogueRecord> extra;
    extra.push_back({"EMPTY.BMP", "Nothing stored", "misc", {}});
    extra.push_back({"NOTE.RTF", "A note", "misc", "{\\rtf1\\ansi A note}"});
    QByteArray broken = Png({40, 20}, Colour(1));
    broken.truncate(60); // the header survives, the pixels do not
    extra.push_back({"BROKEN.PNG", "Cut short", "misc", broken});
    Open(3, std::move(extra));
    Settle();
    for (int row = 0; row < 3; ++row) {
        const controls::Tile* tile = TileOf(row);
        ASSERT_NE(tile, nullptr) << row;
        ASSERT_EQ(tile->What, controls::Tile::Kind::Picture);
        // 40 x 20 fitted into 64 x 64 (at this screen's density): 64 x 32, centred.
        const QImage& image = tile->Image;
        const qreal ratio = image.devicePixelRatio();
        EXPECT_EQ(image.size(), QSize(64, 64) * ratio);
        EXPECT_EQ(QColor(image.pixel(int(32 * ratio), int(32 * ratio))).rgb(), Colour(row));
        EXPECT_EQ(qAlpha(image.pixel(int(32 * ratio), int(8 * ratio))), 0); // above it: clear
    }
    ASSERT_NE(TileOf(3), nullptr);
    EXPECT_EQ(TileOf(3)->What, controls::Tile::Kind::Label);
    EXPECT_EQ(TileOf(3)->Text, "No picture");
    ASSERT_NE(TileOf(4), nullptr);
    EXPECT_EQ(TileOf(4)->What, controls::Tile::Kind::Label);
    EXPECT_EQ(TileOf(4)->Text, "Rich text");
    ASSERT_NE(TileOf(5), nullptr);
    EXPECT_EQ(TileOf(5)->What, controls::Tile::Kind::Broken);
    EXPECT_FALSE(TileOf(5)->Text.isEmpty());

    // Painted: the grid shows the first picture's colour in its first cell.
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->Model().index(0));
    EXPECT_EQ(QColor(shot.pixel(cell.center().x(), cell.top() + 6 + 32)).rgb(), Colour(0));
}

TEST_F(OverviewTest, TheFirstPaintWaitsAFrameForTheScreensTiles) {
    Open(6);
    // Just shown, no tile taken in yet: the background alone, not a screen of empty frames.
    const QImage early = grid->viewport()->grab().toImage();
    int differing = 0;
    for (int y = 0; y < early.height(); y += 2)
        for (int x = 0; x < early.width(); x += 2)
            differing += early.pixel(x, y) != early.pixel(0, 0);
    EXPECT_EQ(differing, 0);
    // The screen complete, it is painted whole.
    Settle();
    const QImage late = grid->viewport()->grab().toImage();
    const QRect cell = grid->visualRect(grid->Model().index(0));
    EXPECT_EQ(QColor(late.pixel(cell.center().x(), cell.top() + 6 + 32)).rgb(), Colour(0));
}

TEST_F(OverviewTest, OnlyTheScreenIsDecodedAndScrolledAwayTilesAreDropped) {
    // The show asks for the screen; what it asks once the screen is there waits for the event
    // loop, which the wait does not run.
    Open(400);
    grid->Loader().WaitIdle();
    const auto [first, last] = grid->ShownRows();
    EXPECT_EQ(first, 0);
    EXPECT_GT(last, 8);
    // The screen first, alone; once it is all there, the next one, nothing beyond.
    EXPECT_EQ(grid->Loader().Tally().Decoded, last + 1);
    Settle();
    const int asked = grid->Loader().Tally().Decoded;
    EXPECT_GT(asked, last + 1);
    EXPECT_LE(asked, 2 * (last + 1) + 1);
    EXPECT_EQ(TileOf(399), nullptr);

    // Far down, then at once to the end: the jobs of the middle are dropped, not finished.
    grid->Loader().Want({});
    grid->scrollTo(grid->Model().index(200));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    grid->scrollToBottom();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    Settle();
    const auto [endFirst, endLast] = grid->ShownRows();
    EXPECT_EQ(endLast, 399);
    for (int row = endFirst; row <= endLast; ++row)
        EXPECT_NE(TileOf(row), nullptr) << row;
    EXPECT_LT(grid->Loader().Tally().Decoded, 400);
}

TEST_F(OverviewTest, TheDiskCacheServesTheNextRunAndIsRemadeForAnotherCatalogue) {
    Open(40);
    QTemporaryDir cache;
    const QString store = cache.filePath("one.thumbs.db");
    const QString identity = data::ThumbnailStore::IdentityOf(table.TablePath());
    MakeGrid(store, identity);
    Settle();
    const int decoded = grid->Loader().Tally().Decoded;
    EXPECT_GT(decoded, 0);
    EXPECT_EQ(grid->Loader().Tally().FromStore, 0);

    // The next run: every tile on screen comes from the disk, none is decoded.
    MakeGrid(store, identity);
    Settle();
    EXPECT_EQ(grid->Loader().Tally().Decoded, 0);
    EXPECT_EQ(grid->Loader().Tally().FromStore, decoded);
    EXPECT_EQ(TileOf(2)->Image.pixel(TileOf(2)->Image.width() / 2, TileOf(2)->Image.height() / 2),
              Colour(2));

    // Another catalogue in that file's place, told to the running grid: decoded again, never
    // the old tiles; so too in a new run.
    grid->Cache().Clear();
    grid->Loader().OpenStore(store, table.Key(), identity + "rewritten", 64 << 20);
    grid->ReloadTiles();
    Settle();
    EXPECT_EQ(grid->Loader().Tally().FromStore, decoded);
    EXPECT_EQ(grid->Loader().Tally().Decoded, decoded);
    MakeGrid(store, identity + "rewritten twice");
    Settle();
    EXPECT_EQ(grid->Loader().Tally().FromStore, 0);
    EXPECT_EQ(grid->Loader().Tally().Decoded, decoded);

    // With the catalogue opened on the disk cache's thread, the GUI thread reads no picture.
    MakeGrid(store, identity + "rewritten again", true);
    Settle();
    EXPECT_EQ(grid->Loader().Tally().FromStore, 0);
    EXPECT_EQ(grid->Loader().Tally().ReadOnGui, 0);
    for (int row = 0; row <= grid->ShownRows().second; ++row)
        ASSERT_NE(TileOf(row), nullptr) << row;
    EXPECT_EQ(
        QColor(TileOf(3)->Image.pixel(TileOf(3)->Image.width() / 2, TileOf(3)->Image.height() / 2))
            .rgb(),
        Colour(3));

    // Cleared: decoded once more.
    grid->Loader().ClearCaches();
    grid->ReloadTiles();
    Settle();
    EXPECT_EQ(grid->Loader().Tally().Decoded, 2 * decoded);
}

TEST_F(OverviewTest, FindNarrowsWithinTheRecordSourceBestFirst) {
    std::vector<catalog::CatalogueRecord> extra;
    extra.push_back({"BALLOON1.BMP", "Red balloons on a string", "misc", Png({8, 8}, 1)});
    extra.push_back({"FLOWERS.BMP", "Flower pot with tulips", "border", Png({8, 8}, 2)});
    extra.push_back({"BALLS.BMP", "Balloon and balls", "letter", Png({8, 8}, 3)});
    extra.push_back({"TULIP.BMP", "Tulips in a field", "misc", Png({8, 8}, 4)});
    Open(6, std::move(extra));
    controls::FindBuilder finder;
    finder.Build(table, *table.FindField("FileName"), *table.FindField("Description"), "A");
    std::vector<std::pair<int, bool>> answers;
    QObject::connect(grid.get(), &controls::TOverview::FindAnswered,
                     [&](int hits, bool ready) { answers.emplace_back(hits, ready); });
    auto names = [&] {
        QStringList shown;
        for (int row = 0; row < grid->Model().rowCount(); ++row)
            shown << grid->Model().FileNameAt(row);
        return shown;
    };
    grid->SetFindText("baloons");
    EXPECT_EQ(answers.back(), std::make_pair(0, false)); // the index is still being built
    finder.Wait();
    grid->SetFindIndex(finder.Index());
    EXPECT_EQ(names(), QStringList{"BALLOON1.BMP"}); // one letter short of "balloons"
    EXPECT_EQ(answers.back(), std::make_pair(1, true));
    grid->SetFindText("ball");
    EXPECT_EQ(names(), (QStringList{"BALLOON1.BMP", "BALLS.BMP"}));
    grid->SetFindText("tulips pot");
    EXPECT_EQ(names(), QStringList{"FLOWERS.BMP"});
    grid->SetFindText("tulip");
    EXPECT_EQ(names(), (QStringList{"TULIP.BMP", "FLOWERS.BMP"})); // equal before start
    // Within the record source's filter only.
    table.SetFilter("Category = 'misc'");
    table.SetFiltered(true);
    EXPECT_EQ(names(), QStringList{"TULIP.BMP"});
    grid->SetFindText("");
    EXPECT_EQ(answers.back(), std::make_pair(-1, true));
    EXPECT_EQ(grid->Model().rowCount(), table.CountRecords());
    EXPECT_EQ(names().first(), "PIC002.PNG");
}

TEST_F(OverviewTest, AFoundRecordStaysInViewWhenTheFindIsCleared) {
    Open(400);
    controls::FindBuilder finder;
    finder.Build(table, *table.FindField("FileName"), *table.FindField("Description"), "A");
    finder.Wait();
    grid->SetFindIndex(finder.Index());
    grid->SetFindText("350");
    ASSERT_EQ(grid->Model().rowCount(), 1);
    grid->setCurrentIndex(grid->Model().index(0)); // the record source moves to it
    EXPECT_EQ(table.FindField("FileName")->AsString(), "PIC350.PNG");
    grid->SetFindText("");
    ASSERT_EQ(grid->Model().rowCount(), 400);
    EXPECT_EQ(grid->currentIndex().row(), 350);
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())));
}

} // namespace
