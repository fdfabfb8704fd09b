#pragma once
#include "lists/ListLines.h"

#include <QAbstractListModel>

// The model of every list box: the packed lines of a list, one row per line, whose text
// is made only when a row is asked for (painted, found, printed, reopened).
class LinesModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const ListLines::PackedLines &lines() const { return m_lines; }
    // Puts lines in place of the shown ones.
    void setLines(ListLines::PackedLines lines);
    void clear();

private:
    ListLines::PackedLines m_lines;
};
