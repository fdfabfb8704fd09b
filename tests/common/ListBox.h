#pragma once
#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QListView>
#include <QStringList>
#include <QTest>

// The list box lstRecords of a list screen, read and driven through its model as a user
// sees it: the texts of its rows, the current row, a click or double-click on a row.
namespace ListBox {

inline QListView *of(const QObject *screen)
{
    return screen->findChild<QListView *>(QStringLiteral("lstRecords"));
}

inline int count(const QListView *box)
{
    return box->model()->rowCount();
}

inline QString text(const QListView *box, int row)
{
    return box->model()->index(row, 0).data(Qt::DisplayRole).toString();
}

inline QStringList texts(const QListView *box)
{
    QStringList shown;
    for (int row = 0; row < count(box); ++row)
        shown << text(box, row);
    return shown;
}

inline int currentRow(const QListView *box)
{
    const QModelIndex current = box->selectionModel()->currentIndex();
    return current.isValid() && box->selectionModel()->isSelected(current) ? current.row() : -1;
}

inline void select(QListView *box, int row)
{
    box->selectionModel()->setCurrentIndex(
        box->model()->index(row, 0), QItemSelectionModel::ClearAndSelect);
}

inline void doubleClick(QListView *box, int row)
{
    select(box, row);
    const QModelIndex index = box->model()->index(row, 0);
    box->scrollTo(index);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->visualRect(index).center());
}

} // namespace ListBox
