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
    // Asked by + and − on a card whose product is not stored as shown (a new card, or a
    // code changed and not saved): a movement needs its stored product.
    static QString saveFirstText();

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

private:
    void setupLooks();
    // Calcola and Scorpora: the three price fields from the result, and the warning with
    // the focus on the price with VAT when the result is not a number.
    void applyPrices(const Prices::PriceResult &result, const QString &warning);
    // Opens the movement dialog for the card's product; a product without a code gets a
    // warning instead, and one not stored as shown is saved first when the user agrees.
    // The movement rewrites the stored stock and value, which the card then shows.
    void recordMovement(MovementRecord::Kind kind);
    std::unique_ptr<Ui::TfrmMagazzino> m_ui;
};
