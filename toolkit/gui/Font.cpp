#include "toolkit/gui/Font.h"

#include "toolkit/text/CodePage.h"

#include <cwchar>

namespace tk {

HFONT Font::handle() const {
    if (!handle_) {
        LOGFONTW logFont{};
        logFont.lfHeight = -style_.height;
        logFont.lfWeight = style_.bold ? FW_BOLD : FW_NORMAL;
        logFont.lfItalic = style_.italic;
        logFont.lfCharSet = style_.symbol ? SYMBOL_CHARSET : DEFAULT_CHARSET;
        logFont.lfQuality = DEFAULT_QUALITY;
        wcsncpy(logFont.lfFaceName, utf8ToWide(style_.face).c_str(), LF_FACESIZE - 1);
        handle_.reset(CreateFontIndirectW(&logFont));
    }
    return handle_.get();
}

} // namespace tk
