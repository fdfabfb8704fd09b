#include "export/SpreadsheetXlsx.h"

#include "export/ExportGrid.h"
#include "storage/SafeFile.h"
#include "storage/TextForms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <cmath>
#include <memory>

namespace {

struct WorkbookCloser
{
    void operator()(lxw_workbook *workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

// Writes the workbook to a file of libxlsxwriter's own (it takes a path, not a device).
bool writeWorkbook(const QByteArray &fileName, const QByteArray &tempDir, const ExportGrid &grid)
{
    const Export::Exporter &exporter = grid.exporter();
    lxw_workbook_options options = {};
    // Rows go to disk as they are written: memory stays flat however long the archive.
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char *>(tempDir.constData());
    options.use_zip64 = LXW_TRUE;
    Workbook workbook(workbook_new_opt(fileName.constData(), &options));
    if (!workbook)
        return false;
    const QByteArray sheetName = exporter.sheetName.toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName.constData());
    lxw_format *bold = workbook_add_format(workbook.get());
    lxw_format *amount = workbook_add_format(workbook.get());
    lxw_format *count = workbook_add_format(workbook.get());
    if (!sheet || !bold || !amount || !count)
        return false;
    format_set_bold(bold);
    format_set_num_format(amount, "0.00##");
    format_set_num_format(count, "0");

    lxw_error error = LXW_NO_ERROR;
    for (int c = 0; c < exporter.columnCount() && !error; ++c) {
        const Export::Column &column = exporter.columns[std::size_t(c)];
        lxw_format *align = nullptr;
        error = worksheet_set_column_pixels(
            sheet, lxw_col_t(c), lxw_col_t(c), std::uint32_t(column.fileWidth), align);
        if (!error)
            error = worksheet_write_string(
                sheet, 0, lxw_col_t(c), column.fileHeader.toUtf8().constData(), bold);
    }

    for (int row = 0; row < grid.rowCount() && !error; ++row) {
        const auto sheetRow = lxw_row_t(row + 1);
        for (int c = 0; c < grid.columnCount() && !error; ++c) {
            const QString text = TrimControl(grid.text(row, c));
            if (text.isEmpty())
                continue;
            const Export::CellType type = exporter.columns[std::size_t(c)].type;
            if (type != Export::CellType::Text) {
                if (const std::optional<double> number = SpreadsheetXlsx::cellNumber(text)) {
                    error = worksheet_write_number(sheet, sheetRow, lxw_col_t(c), *number,
                        type == Export::CellType::Amount ? amount : count);
                    continue;
                }
            }
            error = worksheet_write_string(
                sheet, sheetRow, lxw_col_t(c), text.toUtf8().constData(), nullptr);
        }
    }
    lxw_workbook *raw = workbook.release();
    const lxw_error closed = workbook_close(raw);
    return !error && closed == LXW_NO_ERROR;
}

} // namespace

namespace SpreadsheetXlsx {

std::optional<double> cellNumber(const QString &text)
{
    const QString trimmedText = TrimControl(text);
    if (trimmedText.isEmpty())
        return std::nullopt;
    const std::optional<double> number = TextToNumber(trimmedText);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return number;
}

bool save(const QString &path, const ExportGrid &grid)
{
    // libxlsxwriter writes the workbook to a temporary file of its own; it then replaces
    // the target through SafeFile like the .xls does.
    QTemporaryFile workbookFile(QDir::tempPath() + QStringLiteral("/merventa-XXXXXX.xlsx"));
    if (!workbookFile.open())
        return false;
    workbookFile.close();
    if (!writeWorkbook(
            QFile::encodeName(workbookFile.fileName()), QFile::encodeName(QDir::tempPath()), grid))
        return false;

    QFile workbook(workbookFile.fileName());
    if (!workbook.open(QIODevice::ReadOnly))
        return false;
    return SafeFile::replace(path, [&workbook](QIODevice &file) {
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (;;) {
            const qint64 n = workbook.read(block.data(), block.size());
            if (n < 0 || (n > 0 && file.write(block.constData(), n) != n))
                return false;
            if (n == 0)
                return true;
        }
    });
}

} // namespace SpreadsheetXlsx
