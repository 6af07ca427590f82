#include <gtest/gtest.h>

#include <thread>

#include "cx_list_ctrl.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

// The alarm list's columns.
void AddAlarmColumns(CXListCtrl& list) {
    list.InsertColumn(0, QStringLiteral("Наименование"), Qt::AlignLeft, 210);
    list.InsertColumn(1, QStringLiteral("###"), Qt::AlignHCenter, 70);
    list.InsertColumn(2, QStringLiteral("Значение"), Qt::AlignHCenter, 65);
    list.InsertColumn(3, QStringLiteral("Время"), Qt::AlignHCenter, 65);
    list.InsertColumn(4, QStringLiteral("Дата"), Qt::AlignHCenter, 0);
}

// Item data of the rows, top to bottom.
std::vector<int> Data(const CXListCtrl& list) {
    std::vector<int> data;
    for (int row = 0; row < list.rowCount(); ++row) {
        data.push_back(list.ItemData(row));
    }
    return data;
}

TEST(CXListCtrl, ColumnsKeepHeadingsAlignmentAndTheHiddenDate) {
    CXListCtrl list;
    AddAlarmColumns(list);
    ASSERT_EQ(list.columnCount(), 5);
    EXPECT_EQ(list.horizontalHeaderItem(2)->text(), QStringLiteral("Значение"));
    EXPECT_EQ(list.columnWidth(0), 210);
    EXPECT_TRUE(list.isColumnHidden(4));
    EXPECT_FALSE(list.isColumnHidden(3));
    list.InsertRowAtTop({QStringLiteral("Перегрузка"), QStringLiteral("I>"), QStringLiteral("12.5 А")}, 7);
    EXPECT_EQ(list.item(0, 1)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(list.item(0, 0)->textAlignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(CXListCtrl, NewestRowOnTopAndDeletionByItemData) {
    CXListCtrl list;
    AddAlarmColumns(list);
    list.InsertRowAtTop({QStringLiteral("a")}, 3);
    list.InsertRowAtTop({QStringLiteral("b"), QStringLiteral("B")}, 5);
    list.InsertRowAtTop({QStringLiteral("c")}, 3);
    list.InsertRowAtTop({QStringLiteral("d")}, 9);
    EXPECT_EQ(Data(list), (std::vector<int>{9, 3, 5, 3}));
    EXPECT_EQ(list.ItemText(2, 1), QStringLiteral("B"));
    EXPECT_EQ(list.ItemText(2, 3), QString()) << "missing texts are empty";

    list.DeleteRowsByData(3);
    EXPECT_EQ(Data(list), (std::vector<int>{9, 5}));
    list.DeleteRowsByData(42);
    EXPECT_EQ(Data(list), (std::vector<int>{9, 5}));
    EXPECT_EQ(list.ItemData(7), -1);
    list.DeleteAllItems();
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(CXListCtrl, RowOperationsFromAnotherThreadKeepTheirOrder) {
    CXListCtrl list;
    AddAlarmColumns(list);
    std::thread([&] {
        list.InsertRowAtTop({QStringLiteral("a")}, 1);
        list.SetMark(1);
        list.InsertRowAtTop({QStringLiteral("b")}, 2);
        list.SetMark(2);
        list.DeleteRowsByData(1);
        list.Marks().ClearMark(1);
        list.InsertRowAtTop({QStringLiteral("c")}, 3);
        list.SetMark(3);
    }).join();
    // The marks change at once, in the calling thread; the rows when the widget's thread runs.
    EXPECT_FALSE(list.Marks().IsMarked(1));
    EXPECT_TRUE(list.Marks().IsMarked(2));
    EXPECT_EQ(list.rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(Data(list), (std::vector<int>{3, 2}));

    std::thread([&] {
        list.DeleteAllItems();
        list.InsertRowAtTop({QStringLiteral("d")}, 4);
    }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(Data(list), (std::vector<int>{4}));
}

TEST(CXListCtrl, ClearingOnItsOwnThreadIsNotOvertakenByWaitingInsertions) {
    CXListCtrl list;
    AddAlarmColumns(list);
    // The poller lists two alarms and stops; their rows still wait in the queue when the panel resets.
    std::thread([&] {
        list.InsertRowAtTop({QStringLiteral("a")}, 1);
        list.InsertRowAtTop({QStringLiteral("b")}, 2);
    }).join();
    list.DeleteAllItems();
    list.InsertRowAtTop({QStringLiteral("c")}, 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(Data(list), (std::vector<int>{3}));

    // With nothing waiting, the widget's own thread changes the rows at once.
    list.DeleteRowsByData(3);
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(CXListCtrl, MarksAndTheRowsAddedFlag) {
    CXListCtrl list;
    EXPECT_FALSE(list.HasMarks());
    EXPECT_EQ(list.SetMark(40), 0);
    EXPECT_EQ(list.SetMark(-1), 0);
    EXPECT_FALSE(list.HasMarks()) << "a refused index leaves the flag";
    EXPECT_EQ(list.SetMark(39), 1);
    EXPECT_TRUE(list.HasMarks());
    EXPECT_TRUE(list.Marks().IsMarked(39));

    list.Marks().ClearMark(39);
    EXPECT_FALSE(list.Marks().IsMarked(39));
    EXPECT_TRUE(list.HasMarks()) << "clearing a single mark keeps the flag";

    list.SetMark(0);
    list.ClearMarks();
    EXPECT_FALSE(list.HasMarks());
    EXPECT_FALSE(list.Marks().IsMarked(0));
}

}  // namespace
}  // namespace qav::controls
