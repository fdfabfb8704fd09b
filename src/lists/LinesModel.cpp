#include "lists/LinesModel.h"

int LinesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant LinesModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_lines.size())
        return {};
    return m_lines.at(index.row());
}

void LinesModel::setLines(ListLines::PackedLines lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

void LinesModel::clear()
{
    setLines({});
}
