// The main window's skin commands: a picture of the user's own, or back to
// the design's skin. Each change shows at once and is stored under Skin.
#include "settings/ProgramSettings.h"
#include "toolkit/gui/Dialogs.h"
#include "ui/MainWindow.h"

#include <commdlg.h>

namespace ui {

void TForm1::SpeedButton13Click() {
    auto file = tk::dialogs().openPicture({
        .filter = "Bitmaps (*.bmp)|*.bmp|All files|*.*",
        .options = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING,
    });
    if (!file)
        return;
    // A picture that cannot be read raises before anything changes.
    ShapedForm1.setPicture(tk::Picture::fromFile(*file));
    settings::ProgramSettings::storeSkin(*file);
    repaintNow();
    ShapedForm1.repaintNow();
}

void TForm1::SpeedButton14Click() {
    settings::ProgramSettings::storeSkin("");
    ShapedForm1.setPicture(Image2.picture().copy());
    repaintNow();
    ShapedForm1.repaintNow();
}

} // namespace ui
