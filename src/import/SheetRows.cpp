#include "import/SheetRows.h"

#include "storage/TextForms.h"

namespace SheetRows {

QString Cell::display() const
{
    return kind == Kind::Number ? NumberToText(number) : text;
}

bool isEmptyRow(const Row &row)
{
    for (const Cell &cell : row) {
        if (!cell.isEmpty())
            return false;
    }
    return true;
}

QString columnLetters(int column)
{
    QString name;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

} // namespace SheetRows
