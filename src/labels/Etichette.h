#pragma once
#include "labels/LabelSheet.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>

#include <memory>

class Record;
namespace Ui {
class TfrmEtichette;
}

// The labels screen: labels with the code as a barcode for one product (the product card)
// or for every product of a list (the inventory), on the chosen format, with copies, the
// first label of a partly used sheet and the price as options; preview, print and the
// PDF Etichette.pdf in the program folder. Created for each opening, shown modally,
// destroyed when it closes.
//
// Preview, print and PDF of thousands of labels take a while: meanwhile the progress bar
// prgEtichette moves and btnAnnulla (or Esc, or closing the window) stops the work, which
// then leaves nothing behind: no preview, the old Etichette.pdf as it was, no print job
// while the labels are laid out (before the print dialog); once the pages are painted for
// the printer, a stop withdraws the job where the printing system can.
class TfrmEtichette : public QDialog
{
    Q_OBJECT
public:
    // forList: the products of a list, where one label per piece in stock is a choice.
    TfrmEtichette(const QList<Labels::Product> &products, bool forList, QWidget *parent = nullptr);
    ~TfrmEtichette() override;

    // The product card's button: the product the card shows, with a warning instead when
    // it has no code.
    static void openForProduct(QWidget *parent, const Record &product);
    // A list's button: the products of the lines listed, in list order (see
    // Labels::productsOfLines).
    static void openForList(QWidget *parent, const QStringList &lines,
        const std::function<QString(QByteArrayView recordBytes)> &lineOf);

    Labels::Options options() const;
    // The labels as the options lay them out now.
    Labels::Sheets sheets() const;
    // True while a preview, a print or a PDF is being prepared.
    bool isRunning() const { return m_running; }

    static QString pdfFileName() { return QStringLiteral("Etichette.pdf"); }
    // The line lblAvanzamento shows after each kind of stopped work.
    static QString previewCancelledText();
    static QString printCancelledText();
    // Stopped while the pages went to a printing system that cannot withdraw a job begun.
    static QString printInterruptedText();
    static QString pdfCancelledText();

public slots:
    void btnAnteprimaClick();
    void btnStampaClick();
    void btnPdfClick();
    void btnAnnullaClick();
    void btnChiudiClick();
    void imgGuidaClick();
    // Esc and the window's close button stop a work in progress instead of closing.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Running;

    void cboFormatoChange();
    // Taller when a line under the options got longer (the codes without a barcode, what a
    // stopped work left), so the options are never squeezed.
    void growToFit();
    void updateSummary();
    // How many labels and pages the options give now.
    int labelCount() const;
    // The sheets, laid out with the progress bar moving: nothing when there is no label (a
    // warning says so) or when the work was stopped (the bar then shows cancelledText).
    std::optional<Labels::Sheets> sheetsToPrint(Running &running, const QString &cancelledText);
    // Nothing is running and there is a label to make (otherwise the user is told).
    bool readyToStart();
    // How many pages the options give now.
    int pageCount() const;
    // The steps of a work (laying out every product, painting pages pages) and what one
    // page counts.
    qint64 workSteps(qint64 pages) const;
    qint64 pageWeight() const;
    // The steps done so far of a long work: the bar moved, the window's events handled
    // now and then; false when the work is to stop.
    bool step(qint64 steps);

    std::unique_ptr<Ui::TfrmEtichette> m_ui;
    QList<Labels::Product> m_products;
    bool m_forList = false;
    bool m_running = false;
    bool m_cancel = false;
    qint64 m_stepsPerUnit = 1;
    QElapsedTimer m_sinceEvents;
};
