#pragma once
#include "catalogue/Movement.h"
#include "records/MovementRecord.h"
#include "storage/Record.h"

#include <QDialog>
#include <QString>

#include <memory>

class FieldEntry;
class QKeyEvent;
namespace Ui {
class TfrmGiacenza;
}

// The movement dialog: the user types the quantity of a load or an unload, sees the new
// stock and applies it; applying appends one movement to the yearly file of the dialog's
// date and rewrites the stored product's stock and value with it, as one change. It
// closes only through "Annulla" and "Applica e chiudi".
class TfrmGiacenza : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmGiacenza(QWidget *parent = nullptr);
    ~TfrmGiacenza() override;

    // Opens the movement dialog filled from the card's values (load: Costo as unit cost,
    // unload: Prezzo as unit price, passed in input.importo) for the product stored at
    // input.index; shows it modally; returns true when "Applica e chiudi" recorded the
    // movement, with the product as now stored in *product. Annulla, or a failure,
    // returns false.
    static bool run(
        QWidget *parent, MovementRecord::Kind kind, const MovementInput &input, Record *product);

    // Fills the dialog for a load or an unload from the card's values (trimmed) and takes
    // today's date and the current time from the program clock.
    void fill(MovementRecord::Kind kind, const MovementInput &input);

    // The product as stored after "Applica e chiudi" recorded the movement.
    const Record &product() const { return m_product; }

    // Said when the stored product is no longer the one the card shows.
    static QString cardChangedText();

public slots:
    void btnTotaleClick();
    // Records the movement and closes the dialog. An unload that leaves the stock below
    // zero first asks (No: nothing recorded, the dialog stays). When the yearly file or
    // the archive cannot be written the access error is shown, nothing is recorded and the
    // dialog stays open, so the user can try again or cancel.
    void btnAggiornaClick();
    void btnChiudiClick();
    // Escape and the window manager's close do nothing: only the two buttons close.
    void reject() override;

private:
    bool txtAggiuntaKeyDown(QKeyEvent *event);
    void centreOnScreen();

    std::unique_ptr<Ui::TfrmGiacenza> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
    qint64 m_index = -1;
    Record m_product;
};
