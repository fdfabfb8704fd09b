#pragma once
#include "export/Exporters.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class ExportGrid;
class ExportModel;
class FieldEntry;
namespace Ui {
class ExportScreen;
}

// The export screen that the five exporters share: the whole archive in the grid
// grdRecords (some columns editable), and the spreadsheet icons that write the grid to
// the exporter's .xls file, or to the .xlsx beside it, in the program folder and offer to
// open it. Created by its caller, shown modally, destroyed when it closes; the grid is
// read from the archive when the screen is shown. The movement exporters read the yearly
// file named by the lblFile label of their caller, the selection screen.
class ExportScreen : public QDialog
{
    Q_OBJECT
public:
    ~ExportScreen() override;

    // Creates the exporter's screen over parent, shows it modally and destroys it when it
    // closes: the one entry point of every caller.
    static void open(QWidget *parent, ArchiveId kind);

    const Export::Exporter &exporter() const { return m_exporter; }
    const ExportGrid &grid() const;

public slots:
    void cmdEsportaClick();
    void cmdEsportaXlsxClick();
    void cmdGuidaClick();
    void cmdEsciClick();

protected:
    ExportScreen(ArchiveId kind, QWidget *parent);
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void setupGrid();
    void setupFieldEntry();
    // The two questions, the safe write through save, the failure message, the opening.
    void exportFile(const QString &fileName,
        const std::function<bool(const QString &, const ExportGrid &)> &save);

    const Export::Exporter &m_exporter;
    std::unique_ptr<Ui::ExportScreen> m_ui;
    ExportModel *m_model = nullptr;
    FieldEntry *m_fieldEntry = nullptr;
    bool m_filled = false;
};
