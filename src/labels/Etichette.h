#pragma once
#include "labels/LabelSheet.h"

#include <QDialog>
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

    static QString pdfFileName() { return QStringLiteral("Etichette.pdf"); }

public slots:
    void btnAnteprimaClick();
    void btnStampaClick();
    void btnPdfClick();
    void btnChiudiClick();
    void imgGuidaClick();

private:
    void cboFormatoChange();
    void updateSummary();
    // The sheets when there is at least one label; otherwise a warning and nothing.
    std::optional<Labels::Sheets> sheetsToPrint();

    std::unique_ptr<Ui::TfrmEtichette> m_ui;
    QList<Labels::Product> m_products;
    bool m_forList = false;
};
