#pragma once
#include "charts/ChartTable.h"

#include <QDialog>

#include <memory>

class QChart;
class QPagedPaintDevice;
namespace Ui {
class TfrmGrafici;
}

// The charts screen: one of four charts (cboGrafico) of the archives, for a year with
// movement files (cboAnno) where the chart is of one year, with printing, a PDF
// (Grafico.pdf) and a .csv file (Grafico.csv) of the numbers drawn. The figures and texts
// come from ChartFigures; the screen draws them with Qt Charts.
class TfrmGrafici : public QDialog
{
    Q_OBJECT
public:
    // The chart shown first follows the screen that opens this one (see
    // ChartFigures::firstKindFor); a movement summary selection gives its year too.
    explicit TfrmGrafici(QWidget *parent = nullptr);
    ~TfrmGrafici() override;

    // Lets Screens::openModal(u"TfrmGrafici", parent) open the screen; the program calls it
    // at start-up.
    static void registerScreen();

    // What the screen shows now.
    const ChartTable::Table &table() const { return m_table; }
    QChart *chart() const;

    // Draws the page that printing and the PDF give: title, chart, totals and notices, on
    // the whole paper of device (landscape). False when painting cannot begin.
    bool paintPage(QPagedPaintDevice &device) const;

private:
    void refresh();
    void fitCategoryLabels();

    void btnStampaClick();
    void btnPdfClick();
    void btnEsportaClick();
    void btnChiudiClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::TfrmGrafici> m_ui;
    ChartTable::Table m_table;
};
