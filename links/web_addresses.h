#pragma once

#include <string_view>

// Every web address the program opens. The two sites are plain http, as the
// pages have always been published.
namespace WebAddresses {

inline constexpr std::string_view MainSite = "http://www.zuvazize.example";
inline constexpr std::string_view HelpSite = "http://help.zuvazize.example";

inline constexpr std::string_view HelpPath = "/cv-free-moonsign-compatibility/cv-free-moonsign-compatibility-help.html";
inline constexpr std::string_view DownloadPath = "/cv-free-moonsign-compatibility/download-cv-free-moonsign-compatibility.html";
inline constexpr std::string_view DonatePath = "/donate.html";
inline constexpr std::string_view CoBrandPath = "/co-brand.html";
inline constexpr std::string_view FullBrandPath = "/fully-branded.html";

// Web search used to look up a birth place's coordinates.
inline constexpr std::string_view SearchEngine = "https://duckduckgo.com/";

} // namespace WebAddresses
