#include "report/ListContent.h"

#include "app/Palette.h"
#include "report/ReportTemplate.h"

namespace ListTemplate {

void fill(Report::ReportTemplate &list, const QString &title, const QStringList &lines,
    const QStringList &extraLines)
{
    list.setText(u"txtTitolo", title);
    // A line break inside a line (a note typed over several lines) would print as two
    // lines and throw the height off: it prints as a blank.
    QStringList all = lines + extraLines;
    for (QString &line : all) {
        if (line.contains(u'\n') || line.contains(u'\r')) {
            line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            line.replace(u'\r', u' ');
            line.replace(u'\n', u' ');
        }
    }
    list.setLines(u"txtRiepilogo", all);
    const double height = double(all.size()) * kLineHeight;
    list.setItemHeight(u"txtRiepilogo", height);
    list.setBandHeight(u"MasterData", height + kBandPadding);
}

Report::Item pageNumberBox(const Report::ReportTemplate &list)
{
    Report::Item box;
    box.kind = Report::ItemKind::Text;
    box.name = QString::fromLatin1(kPageNumberItem);
    constexpr double kHeight = 4.5;
    box.left = list.marginLeft();
    box.width = list.pageWidth() - list.marginLeft() - list.marginRight();
    box.height = kHeight;
    // Halfway down the bottom margin, clear of the last band.
    box.top = list.pageHeight() - list.marginBottom() + (list.marginBottom() - kHeight) / 2;
    box.font = { QStringLiteral("Verdana"), 7, false };
    box.color = QLatin1StringView(Palette::kFooterText);
    box.hAlign = Report::HAlign::Right;
    box.vAlign = Report::VAlign::Center;
    return box;
}

std::optional<Report::PreparedReport> prepare(
    const QString &title, const QStringList &lines, const QStringList &extraLines, QString *error)
{
    std::optional<Report::ReportTemplate> list
        = Report::ReportTemplate::load(QString::fromLatin1(kResource), error);
    if (!list)
        return std::nullopt;
    fill(*list, title, lines, extraLines);
    Report::PreparedReport report = Report::prepare(*list);
    Report::numberPages(report, pageNumberBox(*list));
    return report;
}

} // namespace ListTemplate
