// CXListCtrl: a list of rows in columns (full-row selection, grid lines) whose rows carry an integer item
// datum, plus the marks of which alarms have a row.
#pragma once

#include <QColor>
#include <QStringList>
#include <QTableWidget>
#include <QVector>
#include <atomic>

#include "alarm_marks.h"

namespace qav::controls {

// Row operations may be called from any thread and take effect in the order called: from another thread they
// are queued to the widget's thread, and on the widget's thread they run at once unless queued ones are still
// waiting (then they wait behind them, so a clearing of the list is never overtaken by older insertions).
// Reading rows and the inherited table operations belong to the widget's thread.
// The marks may be used from any thread at any time. The widget must outlive any thread that calls it.
class CXListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CXListCtrl(QWidget* parent = nullptr);

    // Adds a column at `column` with its heading and text alignment; width 0 hides it.
    void InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width);

    // Inserts a row at the top: texts by column (missing ones empty, extra ones dropped) and its item data,
    // which is kept with the first column (add the columns first).
    void InsertRowAtTop(const QStringList& texts, int itemData);
    // Deletes every row whose item data is `itemData`.
    void DeleteRowsByData(int itemData);
    void DeleteAllItems();

    QString ItemText(int row, int column) const;
    // The item data of `row`, -1 when there is no such row.
    int ItemData(int row) const;

    // List background and text colours.
    void SetColors(const QColor& text, const QColor& background);

    // Marks alarm `index` (0 to 39) as listed and sets the rows-added flag; 0 for any other index, else 1.
    int SetMark(int index) { return marks_.SetMark(index); }
    // Forgets every mark and the rows-added flag.
    void ClearMarks() { marks_.ClearMarks(); }
    // Whether a row was marked since the last ClearMarks (clearing single marks leaves it set).
    bool HasMarks() const { return marks_.HasMarks(); }
    // The marks themselves: single marks are read and cleared here, and the poller writes them.
    qav::monitor::AlarmMarks& Marks() { return marks_; }
    const qav::monitor::AlarmMarks& Marks() const { return marks_; }

private:
    template <class F>
    void InOrder(F&& f);
    void InsertNow(const QStringList& texts, int itemData);
    void DeleteNow(int itemData);

    qav::monitor::AlarmMarks marks_;
    QVector<Qt::Alignment> alignments_;
    std::atomic<int> waiting_{0};  // row operations queued and not yet run
};

}  // namespace qav::controls
