#pragma once

#include <QString>

// Looks a text up on the web in the user's browser.
class WebSearchComponent {
public:
    // Returns the address it asked the browser to open; callers ignore it.
    // The site address (the maker's main site) is taken because the search
    // operation has always been given it; it is not used, so that the
    // results are not limited to one site.
    QString Search(const QString &searchText, const QString &siteAddress);
};
