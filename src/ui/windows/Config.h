// Addresses and names the program shows or opens. Kept in one place.
#pragma once

namespace capzel::config {

inline constexpr const char* kHomePage = "https://capzel.github.io/";
inline constexpr const char* kHelpPage = "https://capzel.github.io/help.html";
inline constexpr const char* kAuthorEmail = "norvin.telk@capzel.org";
inline constexpr const char* kWebSiteHelper = "Lina Marsh";

}  // namespace capzel::config
