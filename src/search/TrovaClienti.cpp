#include "search/TrovaClienti.h"

TfrmTrovaClienti::TfrmTrovaClienti(QWidget *parent)
    : ArchiveSearchScreen(ArchiveSearch::Kind::Customers, parent)
{
}
