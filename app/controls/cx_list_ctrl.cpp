#include "cx_list_ctrl.h"

#include <QHeaderView>
#include <QMetaObject>
#include <QThread>
#include <algorithm>
#include <utility>

namespace qav::controls {

namespace {
constexpr int kItemDataRole = Qt::UserRole;
}

CXListCtrl::CXListCtrl(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
}

void CXListCtrl::InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width) {
    column = std::clamp(column, 0, columnCount());
    insertColumn(column);
    alignments_.insert(column, alignment);
    auto* header = new QTableWidgetItem(heading);
    header->setTextAlignment(alignment | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
    setColumnHidden(column, width <= 0);
}

template <class F>
void CXListCtrl::InOrder(F&& f) {
    if (QThread::currentThread() == thread() && waiting_.load() == 0) {
        f();
        return;
    }
    waiting_.fetch_add(1);
    QMetaObject::invokeMethod(
        this,
        [this, f = std::forward<F>(f)] {
            waiting_.fetch_sub(1);
            f();
        },
        Qt::QueuedConnection);
}

void CXListCtrl::InsertRowAtTop(const QStringList& texts, int itemData) {
    InOrder([this, texts, itemData] { InsertNow(texts, itemData); });
}

void CXListCtrl::DeleteRowsByData(int itemData) {
    InOrder([this, itemData] { DeleteNow(itemData); });
}

void CXListCtrl::DeleteAllItems() {
    InOrder([this] { setRowCount(0); });
}

void CXListCtrl::InsertNow(const QStringList& texts, int itemData) {
    insertRow(0);
    for (int column = 0; column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(column < texts.size() ? texts[column] : QString());
        item->setTextAlignment(alignments_.value(column, Qt::AlignLeft) | Qt::AlignVCenter);
        if (column == 0) {
            item->setData(kItemDataRole, itemData);
        }
        setItem(0, column, item);
    }
}

void CXListCtrl::DeleteNow(int itemData) {
    for (int row = rowCount() - 1; row >= 0; --row) {
        if (ItemData(row) == itemData) {
            removeRow(row);
        }
    }
}

QString CXListCtrl::ItemText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

int CXListCtrl::ItemData(int row) const {
    const QTableWidgetItem* it = item(row, 0);
    return it ? it->data(kItemDataRole).toInt() : -1;
}

void CXListCtrl::SetColors(const QColor& text, const QColor& background) {
    QPalette p = palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Text, text);
    setPalette(p);
}

}  // namespace qav::controls
