#pragma once
#include "records/MovementRecord.h"
#include "reports/SummarySelection.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class FieldEntry;
class QComboBox;
namespace Ui {
class MovementSummaryMenu;
}

// The movement summary selection shared by the load and unload twins: the year, an
// optional product code and an interval inside the year. It checks the choice, leaves
// the yearly file path and the interval dates in lblFile, lblDataInizio and lblDataFine,
// and opens the twin's list over itself. A resident screen: created once, reset on every
// showing, hidden when closed.
class MovementSummaryMenu : public QWidget
{
    Q_OBJECT
public:
    ~MovementSummaryMenu() override;

public slots:
    void btnVisualizzaClick();
    void cmdEsportaClick();
    void lnkEsportaClick();
    void btnEsciClick();
    void btnGraficiClick();

protected:
    // openList creates the twin's list screen over the selection, shows it modally and
    // destroys it when it closes.
    MovementSummaryMenu(
        MovementRecord::Kind kind, std::function<void(QWidget *)> openList, QWidget *parent);

    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void copyYear();
    void setupFieldEntry();
    void setupLooks();
    void focusControl(SummarySelection::Focus focus);

    MovementRecord::Kind m_kind;
    std::function<void(QWidget *)> m_openList;
    std::unique_ptr<Ui::MovementSummaryMenu> m_ui;
    FieldEntry *m_fieldEntry = nullptr;
    QList<QComboBox *> m_boxes;
};
