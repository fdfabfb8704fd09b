#pragma once
#include "lists/ListScreen.h"

#include <memory>

namespace Ui {
class TfrmSottoscorta;
}

// The under-stock list: the products whose stock is at or below their minimum stock,
// sorted by code. Opened from the product card; a double-click loads the product into
// the card. Created for each opening, shown modally, destroyed when it closes.
class TfrmSottoscorta : public ListScreen
{
    Q_OBJECT
public:
    explicit TfrmSottoscorta(QWidget *parent = nullptr);
    ~TfrmSottoscorta() override;

protected:
    // FormShow: the products at or below their minimum stock.
    void fill() override;
    void lstRecordsDblClick() override;

private:
    void btnStampaClick();
    void btnChiudiClick();

    std::unique_ptr<Ui::TfrmSottoscorta> m_ui;
};
