#include "report/ListContent.h"

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

std::optional<Report::PreparedReport> prepare(
    const QString &title, const QStringList &lines, const QStringList &extraLines, QString *error)
{
    std::optional<Report::ReportTemplate> list
        = Report::ReportTemplate::load(QString::fromLatin1(kResource), error);
    if (!list)
        return std::nullopt;
    fill(*list, title, lines, extraLines);
    return Report::prepare(*list);
}

} // namespace ListTemplate
