#pragma once

#include <QString>

// Looks a text up on the web in the user's browser. The site address is the
// one the search was started from; it is kept as the search's referrer
// only, so the results are not limited to one site.
class WebSearchComponent {
public:
    // Returns the address it asked the browser to open; callers ignore it.
    QString Search(const QString &searchText, const QString &siteAddress);
};
