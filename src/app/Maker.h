#pragma once
#include <QString>

// The maker of the program, as the main menu, the information and credits windows and the
// help document Guida.pdf name it. The values are set in one place, the build's
// MERVENTA_MAKER_* settings (src/app/CMakeLists.txt), so a distributor changes them there.
namespace Maker {
QString name();
QString webSite(); // the address opened by the site links
QString webSiteText(); // the same address as the links show it, without the scheme
QString email();
} // namespace Maker
