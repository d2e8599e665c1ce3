#include "links/web_pages.h"

#include "links/url_opener.h"
#include "links/web_addresses.h"

namespace {

QString address(std::string_view site, std::string_view path = {})
{
    return QString::fromUtf8(site.data(), static_cast<qsizetype>(site.size()))
        + QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

} // namespace

QString HomePageAddress()
{
    return address(WebAddresses::MainSite);
}

void OpenHelpPage() { UrlOpener::open(address(WebAddresses::MainSite, WebAddresses::HelpPath)); }
void OpenHomePage() { UrlOpener::open(HomePageAddress()); }
void OpenDownloadPage() { UrlOpener::open(address(WebAddresses::MainSite, WebAddresses::DownloadPath)); }
void OpenDonatePage() { UrlOpener::open(address(WebAddresses::HelpSite, WebAddresses::DonatePath)); }
void OpenCoBrandPage() { UrlOpener::open(address(WebAddresses::HelpSite, WebAddresses::CoBrandPath)); }
void OpenFullBrandPage() { UrlOpener::open(address(WebAddresses::HelpSite, WebAddresses::FullBrandPath)); }
