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
// False when no site is configured: the address is empty, or it still names one of the
// example domains reserved for documentation (example.com, .net, .org), the placeholder
// a build carries until a distributor sets its own.
bool isConfiguredSite(const QString &address);
bool hasWebSite(); // isConfiguredSite(webSite())
} // namespace Maker
