#include "export/ExpClienti.h"

TfrmExpClienti::TfrmExpClienti(QWidget *parent)
    : ExportScreen(Export::Kind::Customers, parent)
{
}
