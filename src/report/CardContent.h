#pragma once
#include "report/PreparedReport.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// What a card screen prints on the card template repScheda: a title, 24 rows of caption
// and value, and a footer. The card screens build it from their controls.
struct CardContent
{
    QString title;
    QList<std::pair<QString, QString>> rows; // caption, value; 24 of them
    QString footer;
};

namespace CardTemplate {

inline constexpr int kRows = 24;
inline constexpr char kResource[] = ":/report/repScheda.json";

// Puts the content on the card template: portrait page, txtTitolo, titCampo01..24 and
// txtCampo01..24, txtCalce. Rows beyond the 24th are ignored; missing rows print empty.
void fill(Report::ReportTemplate &card, const CardContent &content);

// The card template from the program's resources, filled and laid out with today's date;
// nothing when the template cannot be read (error says why).
std::optional<Report::PreparedReport> prepare(const CardContent &content, QString *error = nullptr);

// The names of row n (1 to 24): "titCampo01" / "txtCampo01".
QString captionName(int row);
QString valueName(int row);

} // namespace CardTemplate
