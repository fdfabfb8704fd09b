#pragma once
#include "lists/ListScreen.h"

#include <memory>

namespace Ui {
class TfrmDaRinnovare;
}

// The due list: every customer whose next instalment is within its days of notice or
// overdue, by surname and name. Opened from the customer card; a double-click shows the
// customer on the card. Created for each opening, shown modally, destroyed when it closes.
class TfrmDaRinnovare : public ListScreen
{
    Q_OBJECT
public:
    explicit TfrmDaRinnovare(QWidget *parent = nullptr);
    ~TfrmDaRinnovare() override;

public slots:
    void btnStampaClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;
    void fill() override;
    void lstRecordsDblClick() override;

private:
    std::unique_ptr<Ui::TfrmDaRinnovare> m_ui;
};
