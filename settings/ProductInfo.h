#pragma once
// The program's version and its maker's site: shown on the About page and in
// the footer, sent by the update check, linked from the support and fonts pages.
namespace quillory {

inline constexpr char kVersionMajor[] = "1";
inline constexpr char kVersionMinor[] = "0";
inline constexpr char kVersionYears[] = "2024-2026";

inline constexpr char kProgramTitle[] = "Tessaravin - Quillory";
inline constexpr char kMakerSiteAddress[] = "https://www.tessaravin.example/";
inline constexpr char kMakerSiteName[] = "www.tessaravin.example";
inline constexpr char kFontsPageAddress[] = "https://www.tessaravin.example/fonts.php";

} // namespace quillory
