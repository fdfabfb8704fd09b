#pragma once
#include "lists/ListScreen.h"
#include "records/MovementRecord.h"

#include <memory>

namespace Ui {
class MovementSummaryList;
}

// The movement summary list shared by the load and unload twins: the movements of one
// yearly file that fall in the chosen interval (and carry the chosen code), in file
// order, with their count. It reads its selection (lblFile, lblDataInizio, lblDataFine,
// txtTipologia) from the selection screen that opens it; created for each opening,
// shown modally, destroyed when it closes.
class MovementSummaryList : public ListScreen
{
    Q_OBJECT
public:
    ~MovementSummaryList() override;

protected:
    MovementSummaryList(MovementRecord::Kind kind, QWidget *selection);
    // FormShow: the movements of the chosen file and interval, with their count.
    void fill() override;

private:
    void btnStampaClick();
    void btnEsciClick();
    void imgGuidaClick();
    QString selectionText(const QString &name) const;

    MovementRecord::Kind m_kind;
    std::unique_ptr<Ui::MovementSummaryList> m_ui;
};
