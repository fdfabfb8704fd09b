#include "export/ExpCarico.h"

TfrmExpCarico::TfrmExpCarico(QWidget *parent)
    : ExportScreen(Export::Kind::Loads, parent)
{
}
