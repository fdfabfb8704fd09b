#pragma once
#include <QDialog>
#include <QString>

#include <memory>

class FieldEntry;
namespace Ui {
class TfrmDatiPneumatici;
}

// The other information of a product: four free texts shown as height, width, length and
// expiry. The dialog only edits them; the product card keeps them in its hidden labels
// and stores them with the product on Salva.
class TfrmDatiPneumatici : public QDialog
{
    Q_OBJECT
public:
    struct Values
    {
        QString consumo; // "Altezza:"
        QString aderenza; // "Larghezza:"
        QString rumore; // "Lunghezza:"
        QString onde; // "Scadenza:"
    };

    explicit TfrmDatiPneumatici(QWidget *parent = nullptr);
    ~TfrmDatiPneumatici() override;

    // The four fields from the card's values, trimmed.
    void setValues(const Values &values);
    // The four fields' texts, trimmed: what "Applica e chiudi" hands back to the card.
    Values values() const;

public slots:
    void btnApplicaClick();
    void btnAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::unique_ptr<Ui::TfrmDatiPneumatici> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
};
