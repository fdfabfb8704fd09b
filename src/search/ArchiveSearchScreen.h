#pragma once
#include "lists/ListScreen.h"
#include "search/ArchiveSearch.h"

#include <QList>
#include <QString>

#include <memory>

class QLineEdit;

namespace Ui {
class ArchiveSearchScreen;
}

// The search screen of an archive: ten search boxes on the search panel panAvvio; "Cerca"
// lists every record in which all the filled boxes occur on the result panel
// panContainer, which then stays for the rest of the screen's life. The caller writes
// its tag into lblMemory before showing the screen; a double-click on a line loads the
// record into the card that the tag names (or, on the supplier search opened from the
// product card, copies the supplier's data into the product). Created for each opening,
// shown modally, destroyed when it closes. TfrmTrovaMagazzino, TfrmTrovaClienti and
// TfrmTrovaFornitori are this screen with their archive's table of values.
class ArchiveSearchScreen : public ListScreen
{
    Q_OBJECT
public:
    ~ArchiveSearchScreen() override;

    // The search of archive over parent, opened for the card caller (its search tag in
    // lblMemory), shown modally and destroyed when it closes.
    static void open(QWidget *parent, ArchiveId archive, CardId caller);

    const ArchiveSearch::Config &config() const { return m_config; }
    // Writes the caller tag ("magazzino", "clienti", "fornitori") into lblMemory.
    void setCallerTag(const QString &tag);

public slots:
    void btnCercaClick();
    void btnAnnullaClick();
    void btnChiudiClick();
    void btnStampaClick();

protected:
    ArchiveSearchScreen(ArchiveId kind, QWidget *parent);

    void fill() override;
    void lstRecordsDblClick() override;
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void addSearchBoxes();

    const ArchiveSearch::Config &m_config;
    std::unique_ptr<Ui::ArchiveSearchScreen> m_ui;
    QList<QLineEdit *> m_boxes;
    ListLines::PackedLines m_found;
};
