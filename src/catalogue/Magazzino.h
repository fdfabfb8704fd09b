#pragma once
#include "cards/CardScreen.h"
#include "records/MovementRecord.h"

#include <QString>

#include <memory>

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
    // The question asked before the card leaves a product (Nuovo, another record shown,
    // closing) whose stock a movement changed and that was not saved since.
    static QString stockNotSavedText();

public slots:
    // The save rule, then the empty numbers filled, the counts rounded, the prices and the
    // value worked out, and the write.
    void cmdSalvaClick() override;
    void btnCalcolaClick();
    void btnScorporaClick();
    void btnValoreClick();
    void btnPneumaticiClick();
    void btnAggiungiClick();
    void btnSottraiClick();
    void cmdSottoscortaClick();
    void impFornitoreClick();
    void cmdWebClick();

protected:
    void FormShow() override;
    // When a movement changed the stock and the card was not saved since, asks whether to
    // save now (Sì runs Salva). False when the card must stay (the save was asked for and
    // failed).
    bool leaveCard() override;

private:
    void setupLooks();
    // Calcola and Scorpora: the three price fields from the result, and the warning with
    // the focus on the price with VAT when the result is not a number.
    void applyPrices(const Prices::PriceResult &result, const QString &warning);
    // Opens the movement dialog for the card's product; a product without a code gets a
    // warning instead.
    void recordMovement(MovementRecord::Kind kind);
    std::unique_ptr<Ui::TfrmMagazzino> m_ui;
    // A movement changed the stock shown and the card has not been saved since.
    bool m_stockUnsaved = false;
};
