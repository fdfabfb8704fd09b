#pragma once
#include "report/ReportTemplate.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// A report laid out into pages: what prints where, before anything is painted. Pure logic;
// painting is done by ReportRenderer.
namespace Report {

// One item as it prints. Its geometry is in millimetres from the top-left corner of the
// paper, margins included; its text has the placeholders replaced. A multi-line box that
// splits across pages gives one piece per page, whose lines are those that fall there.
struct PlacedItem
{
    Item item;
    QString band; // the band the item comes from; empty for page items
};

struct PreparedPage
{
    QList<PlacedItem> items;
};

struct PreparedReport
{
    QString name;
    DocumentInfo info;
    Orientation orientation = Orientation::Portrait;
    double pageWidth = 0; // millimetres, as the orientation turns the paper
    double pageHeight = 0;
    QList<PreparedPage> pages;

    int pageCount() const { return int(pages.size()); }
    // The first item of that name on a page, or nullptr.
    const PlacedItem *find(int page, QStringView itemName) const;
    // The pages where an item of that name prints, in order.
    QList<int> pagesWith(QStringView itemName) const;
    // Every line of a multi-line box, across all its pieces, in order.
    QStringList linesOf(QStringView itemName) const;
};

// Lays the template out into pages. Title bands print once at the start, data bands once
// after them and footer bands once after the data, each in template order; page items
// print on every page. A data band that does not fit where it starts continues on new
// pages through its multi-line box, as many whole lines per page as fit; the blank space
// after the box's last line is cut at the page bottom. A band that does not fit and cannot
// split starts a new page. "[DATE]" in boxes marked for placeholders becomes date.
PreparedReport prepare(const ReportTemplate &report, const QString &date);
// The same, with today's date (dd/mm/yyyy) from the program clock.
PreparedReport prepare(const ReportTemplate &report);

// The text that numbers a page: "Pagina 3 di 36" (page counts from 1).
QString pageNumberText(int page, int pageCount);
// Adds to every page of a prepared report the box that numbers it, a copy of pattern with
// the text "Pagina n di m". pattern's geometry is in millimetres from the paper's corner,
// so a box in the bottom margin leaves the template's bands where they are.
void numberPages(PreparedReport &report, const Item &pattern);

} // namespace Report
