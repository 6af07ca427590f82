// Who makes the product: the About box names the maker and links to its site.
#pragma once

namespace qav::panel {

// Placeholders until the maker's own name and address are supplied; the About box takes them from here only.
inline constexpr const char* kMakerName = "Разработчик панели управления КАВ-510";
inline constexpr const char* kMakerSite = "https://www.example.com/";

}  // namespace qav::panel
