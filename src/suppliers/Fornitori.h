#pragma once
#include "cards/CardScreen.h"

#include <memory>

class FieldEntry;
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

    void cmdNuovoClick();
    void cmdDuplicaClick();
    void cmdFileClick();
    void cmdSalvaClick();
    void cmdAnteprimaClick();
    void cmdStampaClick();
    void cmdTrovaClick();
    void cmdPDFClick();
    void cmdRicontattaClick();
    void cmdEsportaClick();
    void cmdImportaClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnEmailClick();
    void btnCodFiscClick();
    void btnPartitaIvaClick();
    void btnIbanClick();
    void btnCartaClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void setupLooks();
    void setupFieldEntry();
    void connectButtons();
    // The text of a field's control, trimmed.
    QString trimmedText(int field) const;

    std::unique_ptr<Ui::TfrmFornitori> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
};
