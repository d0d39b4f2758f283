// SPDX-License-Identifier: MIT
#include "controls/datalist/drag_list_box.h"
#include "tests/support/qt_printers.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QStringList Numbers(int n) {
    QStringList rows;
    for (int i = 0; i < n; ++i)
        rows << QStringLiteral("row %1").arg(i);
    return rows;
}

class DragListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        box.resize(160, 200);
        box.Items().SetRows(Numbers(30));
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }
    QPoint At(int row) const { return box.RowRect(row).center(); }
    void Move(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, box.viewport()->mapToGlobal(pos), Qt::NoButton,
                         box.Dragging() ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
    }

    controls::TCustomDragListBox box;
};

} // namespace

TEST_F(DragListBoxTest, SelectingScrollsTheRowIntoView) {
    const int fit = box.viewport()->height() / box.ItemHeight();
    box.SelectRow(29);
    EXPECT_EQ(box.ItemIndex(), 29);
    EXPECT_EQ(box.TopIndex(), 29 - fit + 1);
    box.SelectRow(3);
    EXPECT_EQ(box.TopIndex(), 3);
    box.SelectRow(-1);
    EXPECT_EQ(box.ItemIndex(), -1);
    // The last pixel row of the view lies in the row the scroll position puts there.
    const int bottom = box.viewport()->height() - 1;
    EXPECT_EQ(box.RowAt(QPoint(5, bottom)), box.TopIndex() + bottom / box.ItemHeight());
    EXPECT_EQ(box.RowAt(QPoint(5, 0)), box.TopIndex());
}

TEST_F(DragListBoxTest, LinesSetTheHeightAndTheScrollBar) {
    box.SetLines(-5);
    EXPECT_EQ(box.Lines(), -1);
    box.SetLines(4);
    EXPECT_EQ(box.viewport()->height(), 4 * box.ItemHeight());
    EXPECT_EQ(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    box.Items().SetRows(Numbers(3));
    EXPECT_EQ(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QFont big = box.font();
    big.setPixelSize(24);
    box.setFont(big); // the rows grow with the font, the box with them
    EXPECT_EQ(box.viewport()->height(), 4 * box.ItemHeight());
}

TEST_F(DragListBoxTest, TheRowUnderTheMouseIsReportedOnceEachTime) {
    QList<int> reports;
    box.OnMoveOverItem = [&reports](controls::TCustomDragListBox*, int row) { reports << row; };
    Move(At(1));
    Move(At(1) + QPoint(2, 0));
    Move(At(2));
    box.Items().SetRows(Numbers(2));
    Move(QPoint(5, box.viewport()->height() - 2)); // below the last row
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(box.viewport(), &leave);
    EXPECT_EQ(reports, QList<int>({1, 2, -1}));
    Move(At(0));
    QApplication::sendEvent(box.viewport(), &leave);
    EXPECT_EQ(reports, QList<int>({1, 2, -1, 0, -1}));
}

TEST_F(DragListBoxTest, ADragMovesARowUnlessTheCheckRefuses) {
    box.SetDragMode(true);
    QList<QPair<int, int>> moves;
    box.OnMoveItem = [&moves](controls::TCustomDragListBox*, int from, int to) {
        moves << qMakePair(from, to);
    };
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, At(0));
    EXPECT_TRUE(box.Dragging());
    Move(At(2));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, At(2));
    EXPECT_FALSE(box.Dragging());
    ASSERT_EQ(moves.size(), 1);
    EXPECT_EQ(moves[0], qMakePair(0, 2));
    EXPECT_EQ(box.Items().Text(2), "row 0");
    EXPECT_EQ(box.Items().Text(0), "row 1");
    EXPECT_EQ(box.ItemIndex(), 2);

    box.OnDragCheck = [](controls::TCustomDragListBox*, int dest, bool& accept) {
        accept = dest != 5;
    };
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, At(3));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, At(5));
    EXPECT_EQ(moves.size(), 1);
    EXPECT_EQ(box.Items().Text(3), "row 3");

    box.SetExtendedSelect(true); // switches the drag mode off
    EXPECT_FALSE(box.DragMode());
}

TEST_F(DragListBoxTest, APressedRowMovedPastTheDragDistanceIsDraggedOutOnce) {
    QList<int> out;
    box.OnDragOut = [&out](int row) { out << row; };
    auto held = [&](QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, box.viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
    };
    const int distance = QApplication::startDragDistance();
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, At(3));
    EXPECT_EQ(box.ItemIndex(), 3) << "the press selects the row first";
    held(At(3) + QPoint(distance - 1, 0));
    EXPECT_TRUE(out.isEmpty()) << "within the drag distance";
    held(At(3) + QPoint(distance, 0));
    held(At(3) + QPoint(distance + 9, 0));
    EXPECT_EQ(out, QList<int>{3}) << "once a press";
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, At(3));
    Move(At(5) + QPoint(2 * distance, 0)); // no button held
    EXPECT_EQ(out.size(), 1);

    // The reordering drag mode keeps the button for itself.
    box.SetDragMode(true);
    QTest::mousePress(box.viewport(), Qt::LeftButton, {}, At(1));
    held(At(1) + QPoint(2 * distance, 0));
    QTest::mouseRelease(box.viewport(), Qt::LeftButton, {}, At(1));
    EXPECT_EQ(out.size(), 1);
}

TEST_F(DragListBoxTest, KeysAndClicksAreUserSelections) {
    int clicks = 0;
    box.OnClick = [&clicks] { ++clicks; };
    box.SelectRow(0);
    EXPECT_EQ(clicks, 0); // made by the program
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.ItemIndex(), 1);
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.ItemIndex(), 29);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, At(box.TopIndex() + 1));
    EXPECT_EQ(clicks, 3);
}

TEST(DragListBox, WithoutATabStopTheFocusGoesBack) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* box = new controls::TCustomDragListBox(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(box);
    box->SetTabStop(false);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    box->setFocus();
    EXPECT_TRUE(edit->hasFocus());
    box->SetTabStop(true);
    box->setFocus();
    EXPECT_TRUE(box->hasFocus());
}
