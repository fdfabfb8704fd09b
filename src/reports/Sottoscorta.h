#pragma once
#include "reports/ListScreen.h"

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

public slots:
    void btnStampaClick();
    void btnChiudiClick();

protected:
    void showEvent(QShowEvent *event) override;
    void lstRecordsDblClick() override;

private:
    void FormShow();

    std::unique_ptr<Ui::TfrmSottoscorta> m_ui;
    bool m_filled = false;
};
