#include "export/ExportModel.h"

#include "storage/Session.h"

ExportModel::ExportModel(const Export::Exporter &exporter, QObject *parent)
    : QAbstractTableModel(parent)
    , m_grid(exporter)
{
}

void ExportModel::fill(Storage::Session &archive)
{
    beginResetModel();
    m_grid.fill(archive);
    endResetModel();
}

int ExportModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.rowCount();
}

int ExportModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid.columnCount() + 1;
}

QVariant ExportModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == 0)
            return row < m_grid.filledRows() ? QString::number(row + 1) : QString();
        return m_grid.text(row, column - 1);
    case Qt::TextAlignmentRole: {
        const bool right = column > 0
            && m_grid.exporter().columns[std::size_t(column - 1)].align == Export::Align::Right;
        return QVariant::fromValue(
            Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
    default:
        return {};
    }
}

bool ExportModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    m_grid.setText(index.row(), index.column() - 1, value.toString());
    emit dataChanged(index, index, { Qt::DisplayRole, Qt::EditRole });
    return true;
}

Qt::ItemFlags ExportModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() > 0 && m_grid.exporter().columns[std::size_t(index.column() - 1)].editable)
        result |= Qt::ItemIsEditable;
    return result;
}

QVariant ExportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == 0)
        return QStringLiteral("N.");
    if (section > 0 && section <= m_grid.columnCount())
        return m_grid.exporter().columns[std::size_t(section - 1)].gridHeader.toString();
    return {};
}
