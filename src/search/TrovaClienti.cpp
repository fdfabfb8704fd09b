#include "search/TrovaClienti.h"

TfrmTrovaClienti::TfrmTrovaClienti(QWidget *parent)
    : ArchiveSearchScreen(ArchiveId::Customers, parent)
{
}
