#pragma once

// The named colours of the program's screens, pictures and printouts, so that a colour is
// chosen in one place (scripts/check-layers rejects colours written anywhere else). Each
// is a colour text: "#RRGGBB", or "#AARRGGBB" with its opacity, as style sheets take it
// and QColor reads it (QColor(Palette::kWhite)).
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

// Plain white and black: backgrounds, banner texts, printed text and lines.
inline constexpr char kWhite[] = "#FFFFFF";
inline constexpr char kBlack[] = "#000000";
// A crimson caption (a list's explanatory line, the help window's title).
inline constexpr char kCrimson[] = "#DC143C";
// Links: dark blue at rest, orange while pressed; an export link at rest is chartreuse.
inline constexpr char kLink[] = "#00008B";
inline constexpr char kLinkPressed[] = "#FFA500";
inline constexpr char kExportLink[] = "#7FFF00";
// The field holding the focus fades from white to this yellow.
inline constexpr char kFocusYellow[] = "#FFE63C";

// The program's own blues and greys: the product name, titles and the help document.
inline constexpr char kTitleBlue[] = "#1F4E79";
inline constexpr char kSubtitleGrey[] = "#5A6B7B";
inline constexpr char kSteelBlue[] = "#4682B4";
inline constexpr char kOrange[] = "#F39C12";
// The main menu: its background gradient, the web site button and the panel's shadow.
inline constexpr char kMenuTop[] = "#8DB6DC";
inline constexpr char kMenuBottom[] = "#24527A";
inline constexpr char kSiteButton[] = "#EAF2FA";
inline constexpr char kSiteBorder[] = "#C5D9EE";
inline constexpr char kSiteHover[] = "#DCEAF7";
inline constexpr char kShadow[] = "#5A000000";
// The help document's title page: the top of its band.
inline constexpr char kGuideBandTop[] = "#6FA3D6";

// The two password screens: the band under the picture, the disabled OK text, the
// picture's sky, text and note, and the padlock.
inline constexpr char kPasswordBand[] = "#2F5F8A";
inline constexpr char kPasswordOkDisabled[] = "#9DB4C8";
inline constexpr char kPictureSky[] = "#DCEAF7";
inline constexpr char kPictureText[] = "#33404D";
inline constexpr char kNoteBorder[] = "#E0B040";
inline constexpr char kNoteBackground[] = "#FFF6D8";
inline constexpr char kPadlockShackle[] = "#8A939C";
inline constexpr char kPadlockLight[] = "#FCE06B";
inline constexpr char kPadlockDark[] = "#D49A12";
inline constexpr char kPadlockEdge[] = "#A8740A";
inline constexpr char kPadlockBrown[] = "#5C3D05";

// Dialog banners and bands: the movement and attachment dialogs' blue, the record folder
// banner's gradient, the attachments banner's light end; read-only file names.
inline constexpr char kDialogBlue[] = "#1F4E9A";
inline constexpr char kAttachmentsLight[] = "#5B8BD0";
inline constexpr char kFolderBlue[] = "#1E5AA8";
inline constexpr char kFolderLight[] = "#8FB8E8";
inline constexpr char kReadOnlyText[] = "#707070";
inline constexpr char kReadOnlyBackground[] = "#F0F0F0";

// The four check dialogs: each one's colour, and the banner's drawing (the emblem card,
// its ruled lines, the payment card's edge, stripe, chip and digits, the light bow, the
// subtitle).
inline constexpr char kCheckTaxCode[] = "#2E8B57";
inline constexpr char kCheckVatNumber[] = "#3465A4";
inline constexpr char kCheckIban[] = "#117A8B";
inline constexpr char kCheckPaymentCard[] = "#75507B";
inline constexpr char kEmblemCard[] = "#F0FFFFFF";
inline constexpr char kEmblemRule[] = "#AAAAAA";
inline constexpr char kPaymentCardEdge[] = "#C8FFFFFF";
inline constexpr char kPaymentCardStripe[] = "#C8282828";
inline constexpr char kPaymentCardChip[] = "#E6BE50";
inline constexpr char kPaymentCardDigits[] = "#DCFFFFFF";
inline constexpr char kBannerBow[] = "#1CFFFFFF";
inline constexpr char kBannerSubtitle[] = "#E1FFFFFF";

// A printed list's page footer.
inline constexpr char kFooterText[] = "#404040";

} // namespace Palette
