#include "support/DuringNextLoop.h"
#include "support/PictureFiles.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/SystemDialogs.h"
#include "support/TempFolder.h"
#include "support/UnicodeNames.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/OpenDialog.h"
#include "toolkit/gui/Window.h"
#include "toolkit/gui/WindowHandles.h"
#include "toolkit/text/CodePage.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

using namespace testing_support;

namespace {

std::string mamePathIn(const std::string& name) {
    return "C:\\" + name + "\\MAME " + name + "\\mame.exe";
}

// Each UTF-16 unit as the keyboard hands it to the window, a letter beyond
// 16 bits as its two surrogates.
void type(HWND window, const std::string& text) {
    for (wchar_t unit : tk::utf8ToWide(text))
        PostMessageW(window, WM_CHAR, unit, 1);
    tk::application().processMessages();
}

// The configuration panel of a first start, with the scripted dialogs.
class UnicodeTexts : public ::testing::Test {
protected:
    void SetUp() override {
        clearProgramFiles();
        window = std::make_unique<ui::TForm1>();
        window->show();
        window->SpeedButton2Click();
    }

    void TearDown() override {
        window.reset();
        clearProgramFiles();
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<ui::TForm1> window;
};

} // namespace

TEST_F(UnicodeTexts, APathTypedIntoTheFieldsComesBackUnchanged) {
    ui::TForm1& w = *window;
    for (tk::Edit* field : {&w.Edit1, &w.Edit2}) {
        for (const std::string& name : unicodeNames) {
            const std::string path = mamePathIn(name);
            field->setText("");
            type(field->handle(), path);
            EXPECT_EQ(field->text(), path) << name;
        }
    }
}

TEST_F(UnicodeTexts, ThePathChosenInTheOpenDialogReachesTheField) {
    ui::TForm1& w = *window;
    for (const std::string& name : unicodeNames) {
        dialogs.files.push_back(mamePathIn(name));
        w.SpeedButton6Click();
        EXPECT_EQ(w.Edit1.text(), mamePathIn(name)) << name;
    }
}

namespace {

// A dialog that was not answered is cancelled after a while, so that a
// failing test fails rather than waits for ever.
void CALLBACK cancelDialogs(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND dialog : dialogWindows())
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Types the path into the open dialog's file name field and presses Open;
// returns the dialog's caption.
std::wstring chooseInOpenDialog(const std::string& path) {
    std::wstring caption;
    for (HWND dialog : dialogWindows()) {
        caption = windowText(dialog);
        // The field is an edit, or the edit inside the combo box (and the
        // combo box inside the extended one) of the explorer-style dialog.
        HWND field = GetDlgItem(dialog, cmb13);
        while (field && windowClass(field) != L"Edit")
            field = GetWindow(field, GW_CHILD);
        if (!field)
            field = GetDlgItem(dialog, edt1);
        SetWindowTextW(field, tk::utf8ToWide(path).c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    return caption;
}

HWND descendant(HWND window, const std::function<bool(HWND)>& wanted) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (wanted(child))
            return child;
        if (HWND found = descendant(child, wanted))
            return found;
    }
    return nullptr;
}

// Selects the first file in the dialog's list, as a click does, and returns
// the colour in the middle of the preview pane once it has painted.
COLORREF previewOfFirstFile() {
    for (HWND dialog : dialogWindows()) {
        HWND list = descendant(dialog, [](HWND w) { return windowClass(w) == L"SysListView32"; });
        HWND pane = descendant(
            dialog, [](HWND w) { return windowClass(w) == L"Static" && GetDlgCtrlID(w) == 1000; });
        if (!list || !pane)
            return CLR_INVALID;
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        UpdateWindow(pane);
        RECT client;
        GetClientRect(pane, &client);
        tk::WindowDc dc(pane);
        return GetPixel(dc.get(), client.right / 2, client.bottom / 2);
    }
    return CLR_INVALID;
}

} // namespace

TEST(OpenDialogs, TakeAndGiveFoldersAndFilesInAnyLettersAndPreviewThem) {
    TempFolder temp;
    const std::string folder = makeFolder(temp.file(cyrillicName + "\\" + emojiName));
    const std::string file = folder + "\\" + japaneseName + ".bmp";
    const COLORREF red = RGB(255, 0, 0);
    Bytes picture = bitmap24(60, 60, [&](int, int) { return red; });
    writeFileAt(file, std::string(picture.begin(), picture.end()));
    const tk::OpenFileRequest request{
        .title = "Search " + japaneseName,
        .filter = "Bitmaps (*.bmp)|*.bmp",
        .initialFolder = folder,
        .options = OFN_HIDEREADONLY,
    };
    const std::vector<std::pair<const char*, std::function<std::optional<std::string>()>>> kinds = {
        {"plain", [&] { return tk::runOpenDialog(request); }},
        {"with preview", [&] { return tk::runPictureDialog(request); }}};
    for (const auto& [kind, run] : kinds) {
        std::wstring caption;
        COLORREF preview = CLR_INVALID;
        std::optional<std::string> chosen;
        {
            DuringNextLoop whileUp([&] {
                preview = previewOfFirstFile();
                caption = chooseInOpenDialog(file);
            });
            UINT_PTR guard = SetTimer(nullptr, 0, 5000, cancelDialogs);
            chosen = run();
            KillTimer(nullptr, guard);
            EXPECT_TRUE(whileUp.ran()) << kind;
        }
        EXPECT_EQ(caption, tk::utf8ToWide(request.title)) << kind;
        EXPECT_EQ(chosen, file) << kind;
        if (std::string(kind) == "with preview") {
            EXPECT_EQ(preview, red) << "the picture shows in the pane";
        }
    }
}

TEST(MessageBoxes, ShowTextsAndCaptionsInAnyLettersUnchanged) {
    const std::string title = tk::application().title();
    const std::string unicodeTitle = "KESTON PRIME " + emojiName;
    tk::application().setTitle(unicodeTitle);
    const std::string text =
        "Cannot open file C:\\" + cyrillicName + "\\" + japaneseName + "\\keston.ini";
    const std::vector<std::pair<int, std::function<void()>>> kinds = {
        {IDOK, [&] { tk::dialogs().message(text); }},
        {IDOK, [&] { tk::dialogs().errorReport(text); }},
        {IDYES, [&] { EXPECT_EQ(tk::dialogs().ask(text, unicodeTitle, MB_YESNO), IDYES); }},
    };
    for (const auto& [button, show] : kinds) {
        MessageBoxSeen seen;
        {
            DuringNextLoop whileUp([&, answer = button] { seen = readAndAnswer(answer); });
            show();
            EXPECT_TRUE(whileUp.ran());
        }
        EXPECT_EQ(seen.text, tk::utf8ToWide(text));
        EXPECT_EQ(seen.caption, tk::utf8ToWide(unicodeTitle));
    }
    tk::application().setTitle(title);
}
