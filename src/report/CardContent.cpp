#include "report/CardContent.h"

#include "report/ReportTemplate.h"

namespace CardTemplate {

QString captionName(int row)
{
    return QStringLiteral("titCampo%1").arg(row, 2, 10, QLatin1Char('0'));
}

QString valueName(int row)
{
    return QStringLiteral("txtCampo%1").arg(row, 2, 10, QLatin1Char('0'));
}

void fill(Report::ReportTemplate &card, const CardContent &content)
{
    card.setOrientation(Report::Orientation::Portrait);
    card.setText(u"txtTitolo", content.title);
    for (int row = 1; row <= kRows; ++row) {
        const bool given = row <= content.rows.size();
        card.setText(captionName(row), given ? content.rows.at(row - 1).first : QString());
        card.setText(valueName(row), given ? content.rows.at(row - 1).second : QString());
    }
    card.setText(u"txtCalce", content.footer);
}

std::optional<Report::PreparedReport> prepare(const CardContent &content, QString *error)
{
    std::optional<Report::ReportTemplate> card
        = Report::ReportTemplate::load(QString::fromLatin1(kResource), error);
    if (!card)
        return std::nullopt;
    fill(*card, content);
    return Report::prepare(*card);
}

} // namespace CardTemplate
