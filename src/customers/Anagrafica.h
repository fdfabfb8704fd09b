#pragma once
#include "cards/CardScreen.h"

#include <QString>

#include <memory>

class FieldEntry;
namespace Ui {
class TfrmAnagrafica;
}

// The customer card: one customer of Clienti.mrv at a time, held in its controls and
// written to the archive only by Salva. lblPosizione holds the position of the record
// shown (empty for a new customer). A resident screen: created once, shown from the main
// menu as a new card every time, hidden when closed.
class TfrmAnagrafica : public CardScreen
{
    Q_OBJECT
public:
    explicit TfrmAnagrafica(QWidget *parent = nullptr);
    ~TfrmAnagrafica() override;

    // The attachment values File01..File03 and Desc01..Desc03 as the attached files dialog
    // hands them back: they reach the archive with the next Salva.
    void setAttachments(const QStringList &files, const QStringList &descriptions);
    // The attachment values the card holds: File01..File03 and Desc01..Desc03.
    std::pair<QStringList, QStringList> attachments() const;

public slots:
    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdFileClick();
    void cmdTrovaClick();
    void cmdEsportaClick();
    void cmdImportaClick();
    void cmdStampaClick();
    void cmdCartellaClick();
    void cmdScadutiClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void btnCodFiscClick();
    void btnIvaClick();
    void btnIbanClick();
    void btnCartaClick();
    void btnEmailClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void setupControls();
    void setupLooks();
    void setupFieldEntry();
    void connectButtons();
    QString trimmedText(const QString &control) const;

    std::unique_ptr<Ui::TfrmAnagrafica> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
};
