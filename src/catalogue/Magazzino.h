#pragma once
#include "cards/CardScreen.h"
#include "catalogue/MovementRecord.h"

#include <QString>

#include <memory>

class FieldEntry;
namespace Prices {
struct PriceResult;
}
class Record;
class QLineEdit;
namespace Ui {
class TfrmMagazzino;
}

// The product card: one product of Magazzino.mrv at a time, held in its controls as a
// working copy and written to the archive only by Salva. lblPosizione holds the position
// of the record shown (empty for a new product). A resident screen: created once, shown
// from the main menu as a new card every time, hidden when closed.
class TfrmMagazzino : public CardScreen
{
    Q_OBJECT
public:
    explicit TfrmMagazzino(QWidget *parent = nullptr);
    ~TfrmMagazzino() override;

    // The stock shown in txtGiacenza (the movement dialog's new stock).
    void setStock(const QString &text);
    // The four values of the other information dialog, kept in the hidden labels.
    void setOtherInformation(const QString &consumo, const QString &aderenza, const QString &rumore,
        const QString &onde);
    // The trimmed text of the control bound to a product field ("Codice", "Consumo", ...).
    QString fieldText(const QString &fieldName) const;
    // Another record on the card (an arrow, a list or a search reopening one); first asks
    // to save a stock changed by a movement and not saved since.
    void loadRecord(const Record &record, qint64 position) override;
    // The question asked then.
    static QString stockNotSavedText();

public slots:
    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdSalvaClick();
    void cmdStampaClick();
    void cmdPDFClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCalcolaClick();
    void btnScorporaClick();
    void btnValoreClick();
    void btnPneumaticiClick();
    void btnAggiungiClick();
    void btnSottraiClick();
    void cmdSottoscortaClick();
    void cmdEsportaClick();
    void cmdTrovaClick();
    void impFornitoreClick();
    void cmdWebClick();
    void cmdFileClick();
    void cmdEtichetteClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void setupLooks();
    void setupFieldEntry();
    void connectButtons();
    // Calcola and Scorpora: the three price fields from the result, and the warning with
    // the focus on the price with VAT when the result is not a number.
    void applyPrices(const Prices::PriceResult &result, const QString &warning);
    // Opens the movement dialog for the card's product; a product without a code gets a
    // warning instead.
    void recordMovement(MovementRecord::Kind kind);
    // Before the card leaves the product it shows: when a movement changed its stock and
    // the card was not saved since, asks whether to save now (Sì runs Salva). False when
    // the card must stay (the save was asked for and failed).
    bool leaveProduct();

    std::unique_ptr<Ui::TfrmMagazzino> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
    // A movement changed the stock shown and the card has not been saved since.
    bool m_stockUnsaved = false;
};
