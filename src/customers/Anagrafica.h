#pragma once
#include "cards/CardScreen.h"

#include <QString>

#include <memory>

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

public slots:
    void cmdCartellaClick();
    void cmdScadutiClick();
    void btnCodFiscClick();
    void btnIvaClick();
    void btnIbanClick();
    void btnCartaClick();
    void btnEmailClick();

private:
    void setupLooks();
    QString trimmedText(const QString &control) const;

    std::unique_ptr<Ui::TfrmAnagrafica> m_ui;
};
