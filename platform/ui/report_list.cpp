#include "ui/report_list.h"

#include "ui/report_list_model.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace platform {

QString ListItem::Text() const {
    return list_->rows().text(index_ - 1, 0);
}

QString ListItem::SubItem(int number) const {
    return list_->rows().text(index_ - 1, number);
}

void ListItem::SetSubItem(int number, const QString& text) {
    list_->rows().setText(index_ - 1, number, text);
}

ReportList::ReportList(QWidget* parent) : QTreeView(parent), model_(new ReportListModel(this)) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ReportList::selectCurrentRow);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &ReportList::selectCurrentRow);
}

void ReportList::addColumn(const QString& header, int widthPixels) {
    model_->addColumn(header);
    setColumnWidth(model_->columns() - 1, widthPixels);
}

int ReportList::columnHeaderCount() const {
    return model_->columns();
}

void ReportList::clearItems() {
    model_->clearRows();
}

ListItem ReportList::addItem(const QString& text) {
    return {this, model_->appendRow(text) + 1};
}

int ReportList::itemCount() const {
    return model_->rows();
}

std::optional<ListItem> ReportList::selectedItem() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return ListItem(const_cast<ReportList*>(this), selected.first().row() + 1);
}

void ReportList::selectItem(int index) {
    model_->publishPendingRows();
    const QModelIndex row = model_->index(index - 1, 0);
    selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}

void ReportList::focusInEvent(QFocusEvent* event) {
    model_->publishPendingRows(); // the rows of a search just run are there to choose from
    QTreeView::focusInEvent(event);
    selectCurrentRow();
}

void ReportList::selectCurrentRow() {
    if (!hasFocus() || model_->rowCount() == 0) {
        return;
    }
    QModelIndex current = currentIndex();
    if (!current.isValid()) {
        current = model_->index(0, 0);
    }
    if (!selectionModel()->isRowSelected(current.row(), QModelIndex())) {
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
    }
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    emit dblClick();
}

} // namespace platform
