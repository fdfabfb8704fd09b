#pragma once
#include "checks/CheckDialog.h"

#include <QString>

#include <memory>

namespace Ui {
class TfrmPartitaIva;
}

// The VAT number check: tells whether a VAT number carries the right check digit and
// which VAT office issued it. It only informs; nothing goes back to the card that opened it.
class TfrmPartitaIva : public CheckDialog
{
    Q_OBJECT
public:
    explicit TfrmPartitaIva(QWidget *parent = nullptr);
    ~TfrmPartitaIva() override;

    // Opens the dialog modally over parent with initialText in its input box (the card
    // hands over its field's trimmed text) and destroys it when it closes.
    static void check(QWidget *parent, const QString &initialText);

private:
    void btnControllaClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmPartitaIva> m_ui;
};
