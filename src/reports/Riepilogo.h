#pragma once
#include "lists/ListScreen.h"

#include <memory>

namespace Ui {
class TfrmRiepilogo;
}

// The inventory list: the products of one type (or all of them) sorted by code, with the
// total value of the goods in stock. Opened by the inventory selection, whose txtTipologia
// gives the type; created for each opening, shown modally, destroyed when it closes.
class TfrmRiepilogo : public ListScreen
{
    Q_OBJECT
public:
    explicit TfrmRiepilogo(QWidget *parent = nullptr);
    ~TfrmRiepilogo() override;

protected:
    // FormShow: the inventory of the type typed on the selection screen, with its total.
    void fill() override;

private:
    void btnStampaClick();
    void btnEsciClick();
    void cmdEtichetteClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::TfrmRiepilogo> m_ui;
};
