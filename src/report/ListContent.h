#pragma once
#include "report/PreparedReport.h"

#include <QString>
#include <QStringList>

#include <optional>

// The list template frxReport shared by every list screen: a title, the list lines and
// the screen's extra lines in the one multi-line box txtRiepilogo.
namespace ListTemplate {

inline constexpr char kResource[] = ":/report/frxReport.json";
// Pitch of a line of Courier New 8 pt and the blank space under the last line.
inline constexpr double kLineHeight = 3.3925;
inline constexpr double kBandPadding = 2.6458;

// txtTitolo <- title; txtRiepilogo <- every line, then the extra lines, one per line;
// txtRiepilogo's height = number of lines x kLineHeight, MasterData's = that + kBandPadding.
void fill(Report::ReportTemplate &list, const QString &title, const QStringList &lines,
    const QStringList &extraLines);

// The box that numbers every page of a list ("Pagina n di m"): in the bottom margin of
// the template, at its right edge, so the template's own bands and texts stay as they are.
inline constexpr char kPageNumberItem[] = "txtNumeroPagina";
Report::Item pageNumberBox(const Report::ReportTemplate &list);

// The list template from the program's resources, filled and laid out with today's date,
// every page numbered; nothing when the template cannot be read (error says why).
std::optional<Report::PreparedReport> prepare(const QString &title, const QStringList &lines,
    const QStringList &extraLines, QString *error = nullptr);

} // namespace ListTemplate
