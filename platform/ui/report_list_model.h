#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

namespace platform {

// Rows of a report list: each row its own text and its sub-item texts, kept in the order
// added. Rows added in a burst are shown to views in one step when control returns to the
// event loop (or when a view asks), so filling a long list costs one layout, not one a row.
class ReportListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ReportListModel(QObject* parent = nullptr);

    void addColumn(const QString& header);
    int columns() const { return static_cast<int>(headers_.size()); }
    void clearRows();
    int appendRow(const QString& text); // returns the 0-based row
    void setText(int row, int column, const QString& text);
    QString text(int row, int column) const;
    int rows() const { return static_cast<int>(rows_.size()); }
    void publishPendingRows();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QStringList headers_;
    std::vector<QStringList> rows_;
    int published_ = 0;
    bool publishQueued_ = false;
};

} // namespace platform
