#pragma once
#include "lists/ListScreen.h"

#include <memory>

namespace Ui {
class TfrmRicontattaFor;
}

// The suppliers to recontact: every supplier of Fornitori.mrv marked "Da ricontattare",
// one sorted line each with company, person, preferred contact and open issues. Opened
// from the supplier card; a double-click puts the supplier on the card. Created for each
// opening, shown modally, destroyed when it closes.
class TfrmRicontattaFor : public ListScreen
{
    Q_OBJECT
public:
    explicit TfrmRicontattaFor(QWidget *parent = nullptr);
    ~TfrmRicontattaFor() override;

protected:
    void fill() override;
    void lstRecordsDblClick() override;

private:
    void btnStampaClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmRicontattaFor> m_ui;
};
