#pragma once
// The mark of a check box or radio button. Their appearances show it as one
// code of the dingbat font, and that font's text is drawn in "Wingdings 2",
// which has the same marks under other codes.
#include <cstdint>
#include <optional>
#include <string_view>

namespace vs {

// The face dingbat text is drawn in; text of a check box or radio button
// whose font names no known family is drawn in it too.
inline constexpr std::string_view kCheckBoxFace = "Wingdings 2";

// The "Wingdings 2" code of a shown string that is exactly one of the mark
// codes (check, cross, dot, diamond, square, star); nothing for any other
// string.
std::optional<uint8_t> CheckBoxMarkCode(std::string_view bytes);

}  // namespace vs
