#include "links/web_search.h"

#include "links/url_opener.h"
#include "links/web_addresses.h"

#include <QUrl>

QString WebSearchComponent::Search(const QString &searchText, const QString &siteAddress)
{
    Q_UNUSED(siteAddress);
    QUrl url(QString::fromUtf8(WebAddresses::SearchEngine.data(),
                               static_cast<qsizetype>(WebAddresses::SearchEngine.size())));
    // Every character outside the unreserved set is percent-encoded: a '+'
    // left as it is would reach the search as a blank, '&' and '#' would cut
    // the query short.
    url.setQuery(QStringLiteral("q=") + QString::fromLatin1(QUrl::toPercentEncoding(searchText)), QUrl::StrictMode);
    const QString address = url.toString(QUrl::FullyEncoded);
    UrlOpener::open(address);
    return address;
}
