#include "ui/report_list_model.h"

#include <QMetaObject>

namespace platform {

ReportListModel::ReportListModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportListModel::addColumn(const QString& header) {
    const int column = columns();
    beginInsertColumns(QModelIndex(), column, column);
    headers_.append(header);
    endInsertColumns();
}

void ReportListModel::clearRows() {
    beginResetModel();
    rows_.clear();
    published_ = 0;
    endResetModel();
}

int ReportListModel::appendRow(const QString& text) {
    rows_.push_back(QStringList{text});
    if (!publishQueued_) {
        publishQueued_ = true;
        QMetaObject::invokeMethod(this, &ReportListModel::publishPendingRows, Qt::QueuedConnection);
    }
    return rows() - 1;
}

void ReportListModel::publishPendingRows() {
    publishQueued_ = false;
    if (published_ == rows()) {
        return;
    }
    beginInsertRows(QModelIndex(), published_, rows() - 1);
    published_ = rows();
    endInsertRows();
}

void ReportListModel::setText(int row, int column, const QString& text) {
    QStringList& cells = rows_.at(static_cast<std::size_t>(row));
    while (cells.size() <= column) {
        cells.append(QString());
    }
    cells[column] = text;
    if (row < published_) {
        emit dataChanged(index(row, column), index(row, column));
    }
}

QString ReportListModel::text(int row, int column) const {
    const QStringList& cells = rows_.at(static_cast<std::size_t>(row));
    return column < cells.size() ? cells[column] : QString();
}

int ReportListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : published_;
}

int ReportListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns();
}

QVariant ReportListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= published_ ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    return text(index.row(), index.column());
}

QVariant ReportListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < columns()) {
        return headers_[section];
    }
    return {};
}

Qt::ItemFlags ReportListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace platform
