#include "export/ExpFornitori.h"

TfrmExpFornitori::TfrmExpFornitori(QWidget *parent)
    : ExportScreen(Export::Kind::Suppliers, parent)
{
}
