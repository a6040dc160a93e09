#pragma once

#include <QString>
#include <QTreeView>

#include <optional>

namespace platform {

class ReportListModel;
class ReportList;

// A row of a report list as callers hold it: its 1-based place and its texts.
class ListItem {
public:
    ListItem(ReportList* list, int index) : list_(list), index_(index) {}
    int Index() const { return index_; }
    QString Text() const;
    QString SubItem(int number) const;
    void SetSubItem(int number, const QString& text);

private:
    ReportList* list_;
    int index_;
};

// A list in report view: rows under column headers, in the order added, at most one
// selected, texts not editable in place. Key presses and double-clicks reach the owner.
// While the list has the focus and rows, its current row is the selected row, so the row the
// keyboard stands on is the one Enter chooses: focus arriving by keyboard selects the first.
class ReportList : public QTreeView {
    Q_OBJECT

public:
    explicit ReportList(QWidget* parent = nullptr);

    void addColumn(const QString& header, int widthPixels);
    int columnHeaderCount() const;
    void clearItems();
    ListItem addItem(const QString& text);
    int itemCount() const;
    std::optional<ListItem> selectedItem() const;
    void selectItem(int index); // 1-based

    ReportListModel& rows() const { return *model_; }

signals:
    void dblClick();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void selectCurrentRow();

    ReportListModel* model_;
};

} // namespace platform
