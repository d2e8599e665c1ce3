#include "links/web_search.h"

#include "links/url_opener.h"
#include "links/web_addresses.h"

#include <QUrl>
#include <QUrlQuery>

QString WebSearchComponent::Search(const QString &searchText, const QString &siteAddress)
{
    Q_UNUSED(siteAddress);
    QUrl url(QString::fromUtf8(WebAddresses::SearchEngine.data(),
                               static_cast<qsizetype>(WebAddresses::SearchEngine.size())));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("q"), searchText);
    url.setQuery(query);
    const QString address = url.toString(QUrl::FullyEncoded);
    UrlOpener::open(address);
    return address;
}
