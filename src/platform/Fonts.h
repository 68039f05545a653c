#pragma once

namespace pel {

// Maps the Windows Japanese font names the program asks for ("ＭＳ Ｐゴシック",
// "ＭＳ ゴシック", ...) to Japanese fonts installed here.
void installFontSubstitutions();

} // namespace pel
