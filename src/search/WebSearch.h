#pragma once
#include <QString>

// The two aids of the product card that reach outside the product archive: the web
// search for the product's brand and model, and the supplier data copied from a
// supplier record.
namespace WebSearch {

// The address of a web search for brand and model: the search engine's secure address
// with the query key q, then the trimmed brand, one blank and the trimmed model (an empty
// model leaves the blank at the end). Blanks stay as typed; the characters that would
// end or change the query (& # + %) are percent-encoded, so "A&B" is searched as A&B.
QString address(const QString &brand, const QString &model);

// The warnings of the web search.
QString emptyBrandText();
QString shellFailureText();

} // namespace WebSearch
