#pragma once
#include <QDialog>
#include <QString>

#include <array>
#include <memory>

class CardScreen;
class QFileDialog;
class QLineEdit;
class QPushButton;
class QToolButton;
namespace Ui {
class TfrmAllegaCartella;
}

// The attached files dialog: the three attachment slots (file name and description) of the
// card that opened it. Sfoglia copies the chosen file into the attachment folder at once;
// "Applica e chiudi" hands the six values back to the card named by the caller tag in
// lblMemory, whose own Save writes them into the record; Annulla hands nothing back.
class TfrmAllegaCartella : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmAllegaCartella(QWidget *parent = nullptr);
    ~TfrmAllegaCartella() override;

    // What a card's cmdFile does: creates the dialog over card, writes the card's
    // attachments tag into lblMemory, copies the card's File01..03 and Desc01..03 (its hidden
    // labels, trimmed) into the slots, shows the dialog modally and destroys it when it closes.
    static void openFor(CardScreen *card);

    // The caller tag, and the six values in the order File01, Desc01, File02, Desc02,
    // File03, Desc03 (trimmed).
    void setCallerTag(const QString &tag);
    void setValues(const QStringList &fileDescPairs);

public slots:
    void btnSfoglia01Click();
    void btnSfoglia02Click();
    void btnSfoglia03Click();
    void btnApri01Click();
    void btnApri02Click();
    void btnApri03Click();
    void imgCancella01Click();
    void imgCancella02Click();
    void imgCancella03Click();
    void txtFile01Change();
    void txtFile02Change();
    void txtFile03Change();
    void btnApplicaClick();
    void btnAnnullaClick();

private:
    struct Slot
    {
        QLineEdit *txtFile;
        QLineEdit *txtDesc;
        QToolButton *imgCancella;
        QPushButton *btnSfoglia;
        QPushButton *btnApri;
    };

    void setupLooks();
    void browse(const Slot &slot);
    void openAttached(const Slot &slot);
    void updateOpenButton(const Slot &slot);

    std::unique_ptr<Ui::TfrmAllegaCartella> m_ui;
    std::array<Slot, 3> m_slots {};
    QFileDialog *m_dlgFile = nullptr;
};
