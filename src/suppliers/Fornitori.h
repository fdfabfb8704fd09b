#pragma once
#include "cards/CardScreen.h"

#include <memory>

namespace Ui {
class TfrmFornitori;
}

// The supplier card: one supplier of Fornitori.mrv at a time, held in its controls as a
// working copy and written to the archive only by Salva; lblPosizione holds the position
// of the record shown (empty for a new supplier). A resident screen: created once, shown
// from the main menu as a new card every time, hidden when closed. It opens the list of
// the suppliers to recontact, the identifier checks, the e-mail program, and prints the
// card, previews it or saves it as Fornitore.pdf.
class TfrmFornitori : public CardScreen
{
    Q_OBJECT
public:
    explicit TfrmFornitori(QWidget *parent = nullptr);
    ~TfrmFornitori() override;

public slots:
    void cmdRicontattaClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnIbanClick();
    void btnCartaClick();

private:
    void setupLooks();
    // The text of a field's control, trimmed.
    QString trimmedText(int field) const;

    std::unique_ptr<Ui::TfrmFornitori> m_ui;
};
