#pragma once

// The named colours of the program's screens (style sheet colour texts), shared by the
// cards, the lists, the selection screens and the exports, so that a colour is chosen in
// one place.
namespace Palette {

// Info bar: white text on a slate-blue band; the navigation strip of a card too.
inline constexpr char kSlateBlue[] = "#6A5ACD";
inline constexpr char kDarkSlateBlue[] = "#483D8B";
// A card's background gradient, top and bottom.
inline constexpr char kCardTop[] = "#E3E8F0";
inline constexpr char kCardBottom[] = "#BCC7D8";
// A card's panels (the field container, the button column) and their border.
inline constexpr char kPanel[] = "#F8F9FB";
inline constexpr char kPanelBorder[] = "#9FAABD";
// A card's grey sections and their border; section titles.
inline constexpr char kSection[] = "#E4E4E4";
inline constexpr char kSectionBorder[] = "#C8C8C8";
inline constexpr char kSectionTitle[] = "#3B3486";
// The position label's text.
inline constexpr char kPositionText[] = "#1E1E50";
// Selection screens: the steel-blue gradient behind them, the panel's border, the title.
inline constexpr char kSelectionTop[] = "#B0C4DE";
inline constexpr char kSelectionBottom[] = "#4682B4";
inline constexpr char kSelectionBorder[] = "#7A8CA3";
inline constexpr char kTitleGrey[] = "#708090";
// The wait notice of a list (dark red) and a list's total (maroon).
inline constexpr char kWaitNotice[] = "#8B0000";
inline constexpr char kTotal[] = "#800000";

} // namespace Palette
