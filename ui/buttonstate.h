#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pagewick {

// Which of the main window's six action buttons are visible. Buttons are only ever shown and
// hidden, never disabled, and only at the moments of the rows below.
enum class ButtonVisibility : std::uint8_t { Keep, Show, Hide };

// The columns of the table: one per action button.
enum ButtonColumn : std::size_t {
    ColCreate,
    ColBrowseHTML,
    ColViewHTML,
    ColSaveFile,
    ColCreateXMLcode,
    ColViewXMLcode,
    ButtonColumnCount
};

using ButtonStateLine = std::array<ButtonVisibility, ButtonColumnCount>;

enum ButtonStateRow : int {
    RowWindowCreated = 0,
    RowFolderScanned = 1, // the folder text changed, after the scan
    RowCreateHtmlPressed = 2,
    RowCreateHtmlFinished = 3,
    RowCreateXmlPressed = 4, // before the feed prompts
    RowCreateXmlFinished = 5,
};

inline constexpr std::array<ButtonStateLine, 6> ButtonState = [] {
    constexpr auto K = ButtonVisibility::Keep;
    constexpr auto S = ButtonVisibility::Show;
    constexpr auto H = ButtonVisibility::Hide;
    return std::array<ButtonStateLine, 6>{{
        // Create BrowseHTML ViewHTML SaveFile CreateXMLcode ViewXMLcode
        {H, H, H, H, S, H}, // 0 window created
        {S, H, H, K, K, K}, // 1 folder scanned
        {K, H, H, H, H, H}, // 2 Create HTML pressed
        {S, S, S, S, S, H}, // 3 Create HTML finished
        {H, H, H, H, H, H}, // 4 Create XML code pressed
        {S, H, H, H, S, S}, // 5 Create XML code finished
    }};
}();

} // namespace pagewick
