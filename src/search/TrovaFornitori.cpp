#include "search/TrovaFornitori.h"

TfrmTrovaFornitori::TfrmTrovaFornitori(QWidget *parent)
    : ArchiveSearchScreen(ArchiveSearch::Kind::Suppliers, parent)
{
}
