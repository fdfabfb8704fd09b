#pragma once
#include <QStringList>

// The Italian province codes the province drop-down boxes of the customer and supplier
// cards offer, in the order they show them (112 codes, "AG" to "VV"). The user may also
// type a code that is not in the list.
namespace Provinces {

const QStringList &codes();

} // namespace Provinces
