#pragma once
#include "checks/CheckTable.h"

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QString>

#include <memory>

class QLineEdit;
namespace Ui {
class CheckDialog;
}

// The one form of the four check dialogs: a fixed-size window without title-bar buttons,
// centred on the screen, painted with a gradient from the dialog's colour to white, with
// a banner drawn across the top, the instructions, the input box in Courier New 20 bold
// and the buttons Controlla and Chiudi. Each dialog is a row of the check table
// (Checks::check) and a leaf that names it; it is created for one check, shown modally
// and destroyed when it closes.
class CheckDialog : public QDialog
{
    Q_OBJECT
public:
    ~CheckDialog() override;

    // How a dialog looks: its colour, the banner's title and subtitle, and the emblem at
    // the banner's left (a short word on a white card, or a drawn payment card).
    struct Look
    {
        QColor colour;
        QString title;
        QString subtitle;
        QString emblem;
        bool paymentCard = false;
    };

    // The banner picture of the given width.
    static QPixmap drawBanner(const Look &look, int width);

protected:
    CheckDialog(Checks::Kind kind, QWidget *parent);

    // Shows the dialog modally with initialText in its input box (the card hands over
    // its field's trimmed text).
    void runWith(const QString &initialText);

    // Shows the outcome's message; then closes the dialog, or, when the outcome keeps it
    // open, puts the focus back on the input.
    void showOutcome(const CheckOutcome &outcome);

    // Centres the dialog on its screen and puts the focus on the input.
    void FormShow();

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void btnControllaClick();
    void btnChiudiClick();

    const Checks::Check &m_config;
    Look m_look;
    std::unique_ptr<Ui::CheckDialog> m_ui;
};
