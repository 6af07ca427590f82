// Who makes the product: the About box names the maker and links to its site.
#pragma once

namespace qav::panel {

// Placeholders until the maker's own name and address are supplied; the About box and the window caption take
// them from here only. The site is written as the operator sees it, without a scheme.
inline constexpr const char* kMakerName = "Разработчик панели управления КАВ-510";
inline constexpr const char* kMakerSite = "www.qav510.example";

}  // namespace qav::panel
