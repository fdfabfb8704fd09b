#pragma once
#include "import/ImportFields.h"
#include "import/ImportRun.h"

#include <QDialog>

#include <memory>

class FieldEntry;
class SpreadsheetFile;
namespace Ui {
class TfrmImporta;
}

// The import screen: a spreadsheet or CSV file read into the archive of the card that
// opened it. The file and its sheet, whether the first row names the columns, the column
// of the file for each field of the archive (preset from the headers), the first rows as
// they will be stored with their problems marked, what to do with records already present,
// the counts of the whole file; Importa runs the import with a progress bar that btnChiudi
// cancels. Created when opened, shown modally, destroyed when closed.
class TfrmImporta : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmImporta(ImportFields::Target target, QWidget *parent = nullptr);
    ~TfrmImporta() override;

    // Opens the screen for the archive over parent and destroys it when it closes (the
    // cards' Importa); an archive nothing is imported into opens nothing.
    static void open(QWidget *parent, ArchiveId archive);

    // The file read as choosing it in the dialog does; false when it cannot be read (the
    // user has been told why).
    bool loadFile(const QString &path);

    // The most data rows the preview shows.
    static constexpr int kPreviewRows = 50;

public slots:
    void btnSfogliaClick();
    void btnImportaClick();
    void btnChiudiClick();
    void cboFoglioChange();
    void chkIntestazioneClick();
    void cboDoppiChange();

protected:
    void reject() override;

private:
    void loadSheet(int sheet);
    void fillMapping();
    QList<int> mapping() const;
    ImportRun::Options options() const;
    ImportRun::RowSource rowSource() const;
    void refresh();
    void refreshPreview();
    void refreshSummary();
    void setRunning(bool running);
    bool progress(qint64 rows);

    ImportFields::Target m_target;
    std::unique_ptr<Ui::TfrmImporta> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
    std::unique_ptr<SpreadsheetFile> m_file;
    int m_sheet = 0;
    // The first rows of the sheet (the header row among them when there is one).
    QList<SheetRows::Row> m_head;
    int m_columns = 0;
    ImportRun::Summary m_summary;
    bool m_running = false;
    bool m_cancel = false;
    bool m_filling = false;
};
