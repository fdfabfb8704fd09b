#include "search/TrovaFornitori.h"

TfrmTrovaFornitori::TfrmTrovaFornitori(QWidget *parent)
    : ArchiveSearchScreen(ArchiveId::Suppliers, parent)
{
}
