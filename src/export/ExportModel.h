#pragma once
#include "export/ExportGrid.h"

#include <QAbstractTableModel>

// The export grid as a table model: column 0 "N." holds the row number of every filled
// row, columns 1 to n the exporter's columns. The cells of the exporter's editable columns
// can be edited; an edit goes into the grid's overlay, never into the archive. The model
// holds the grid; the view asks only for the rows it shows.
class ExportModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ExportModel(const Export::Exporter &exporter, QObject *parent = nullptr);

    const ExportGrid &grid() const { return m_grid; }
    // Replaces the rows with those of an open archive (see ExportGrid::fill).
    void fill(Storage::Session &archive);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ExportGrid m_grid;
};
