#pragma once

#include <QString>

// The six pages of the maker's sites. Each call hands one fixed address to
// the browser and does not wait or look at the outcome.
QString HomePageAddress();

void OpenHelpPage();
void OpenHomePage();
void OpenDownloadPage();
void OpenDonatePage();
void OpenCoBrandPage();
void OpenFullBrandPage();
