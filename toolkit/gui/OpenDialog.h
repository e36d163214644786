// The system's file-open dialog behind the Dialogs service: plain, or with a
// preview pane that shows the selected picture.
#pragma once

#include "toolkit/gui/Dialogs.h"

#include <commdlg.h>

#include <functional>
#include <optional>
#include <string>

namespace tk {

// `prepare` may add a hook and a template before the dialog runs.
std::optional<std::string>
runOpenDialog(const OpenFileRequest& request,
              const std::function<void(OPENFILENAMEW&)>& prepare = nullptr);

// Beside the file list, a pane shows the selected file through the program's
// picture loader, scaled to fit; it stays empty for what cannot be loaded.
std::optional<std::string> runPictureDialog(const OpenFileRequest& request);

} // namespace tk
