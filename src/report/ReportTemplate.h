#pragma once
#include "app/Palette.h"
#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Report templates described as data: a page, items placed directly on the page and bands
// that flow down it. Every length is in millimetres. Page items are placed relative to the
// area inside the margins; band items relative to their band. Templates are stored as JSON
// resources (:/report/<name>.json) and loaded with ReportTemplate::load.
namespace Report {

// Bars: filled black rectangles (a barcode), made by the program, never read from a
// template.
enum class ItemKind { Text, Line, Picture, Bars };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };
enum class Orientation { Portrait, Landscape };
// Title: once at the start. Data: printed once, may split across pages through its
// multi-line text box. Footer: once, after the data.
enum class BandKind { Title, Data, Footer };

struct FontSpec
{
    QString family;
    double pointSize = 10;
    bool bold = false;
};

struct Item
{
    ItemKind kind = ItemKind::Text;
    QString name;
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    // Text colour of a text box, pen colour of a line: a colour name or #rrggbb.
    QString color = QLatin1StringView(Palette::kBlack);

    // Text boxes. The text is shown as given on one line, cut at the box's edge and never
    // wrapped. A multi-line box holds lines instead, shown one under the other at
    // lineHeight pitch, each cut the same way.
    QString text;
    QStringList lines;
    FontSpec font;
    QString fill; // empty: no fill
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool multiLine = false;
    double lineHeight = 0;
    // Only boxes marked so have "[DATE]" replaced when the report is prepared; texts that
    // come from the archives are never interpreted.
    bool placeholders = false;

    // Lines: thickness in millimetres.
    double lineWidth = 0.26;

    // Pictures: resource paths; the first one that exists is drawn, keeping its aspect.
    QStringList sources;
    bool opaque = false;

    // Bars: rectangles in millimetres from the item's top-left corner.
    QList<QRectF> bars;
};

struct Band
{
    QString name;
    BandKind kind = BandKind::Data;
    double height = 0;
    QList<Item> items;
};

// The document information written into an exported PDF.
struct DocumentInfo
{
    QString title;
    QString subject;
    QString author;
    QString creator;
};

class ReportTemplate
{
public:
    // Reads a template from its JSON text; on a malformed template returns nothing and,
    // when error is given, says what is wrong.
    static std::optional<ReportTemplate> fromJson(const QByteArray &json, QString *error = nullptr);
    // Reads a template from a file or resource path.
    static std::optional<ReportTemplate> load(const QString &path, QString *error = nullptr);

    QString name() const { return m_name; }
    const DocumentInfo &documentInfo() const { return m_info; }

    Orientation orientation() const { return m_orientation; }
    void setOrientation(Orientation orientation) { m_orientation = orientation; }
    // Paper size as the orientation turns it, in millimetres.
    double pageWidth() const;
    double pageHeight() const;
    double marginLeft() const { return m_margins[0]; }
    double marginTop() const { return m_margins[1]; }
    double marginRight() const { return m_margins[2]; }
    double marginBottom() const { return m_margins[3]; }

    const QList<Item> &pageItems() const { return m_pageItems; }
    const QList<Band> &bands() const { return m_bands; }

    // The named item (on the page or in any band) or band; nullptr when there is none.
    // The pointers stay valid while the template lives.
    Item *findItem(QStringView name);
    const Item *findItem(QStringView name) const;
    Band *findBand(QStringView name);
    const Band *findBand(QStringView name) const;

    // Shortcuts on a named text box or band; false when the name is unknown. The text of a
    // multi-line box is split into its lines at each '\n'.
    bool setText(QStringView name, const QString &text);
    bool setLines(QStringView name, const QStringList &lines);
    bool setItemHeight(QStringView name, double mm);
    bool setBandHeight(QStringView name, double mm);

private:
    QString m_name;
    DocumentInfo m_info;
    double m_paperWidth = 210; // portrait width
    double m_paperHeight = 297;
    Orientation m_orientation = Orientation::Portrait;
    double m_margins[4] = { 10, 10, 10, 10 }; // left, top, right, bottom
    QList<Item> m_pageItems;
    QList<Band> m_bands;
};

// The lines of a multi-line text: one per '\n' (a '\r' before it is dropped); an empty
// text has none.
QStringList textLines(const QString &text);

} // namespace Report
