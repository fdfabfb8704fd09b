#pragma once
#include "checks/CheckOutcome.h"

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QString>

class QLabel;
class QLineEdit;

// The frame shared by the four check dialogs: a fixed-size window without title-bar
// buttons, centred on the screen, painted with a gradient from the dialog's colour to
// white, with a banner drawn across the top and the input box in Courier New 20 bold.
// Each dialog is created for one check, shown modally and destroyed when it closes.
class CheckDialog : public QDialog
{
    Q_OBJECT
public:
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
    CheckDialog(QWidget *parent, const Look &look);

    // Called once the form is set up: draws the banner into imgLogo, sets the input's
    // font and typing limit.
    void setUpFrame(QLabel *imgLogo, QLineEdit *input, int maxLength);

    // Shows the outcome's message; then closes the dialog, or, when the outcome keeps it
    // open, puts the focus back on the input.
    void showOutcome(const CheckOutcome &outcome);

    // Centres the dialog on its screen and puts the focus on the input.
    void FormShow();

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Look m_look;
    QLineEdit *m_input = nullptr;
};
