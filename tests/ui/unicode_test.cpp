#include "support/DuringNextLoop.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/UnicodeNames.h"
#include "toolkit/gui/Application.h"
#include "toolkit/gui/Dialogs.h"
#include "toolkit/gui/OpenDialog.h"
#include "toolkit/gui/Window.h"
#include "toolkit/text/CodePage.h"
#include "ui/MainWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <commdlg.h>

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
        wchar_t shown[MAX_PATH] = {};
        GetWindowTextW(w.Edit1.handle(), shown, MAX_PATH);
        EXPECT_EQ(shown, tk::utf8ToWide(mamePathIn(name))) << "the field shows the letters";
    }
}

namespace {

// The system's dialog windows up on this thread.
std::vector<HWND> dialogWindows() {
    std::vector<HWND> found;
    for (HWND window : tk::threadWindows()) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) == L"#32770" && IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// A dialog that was not answered is cancelled after a while, so that a
// failing test fails rather than waits for ever.
void CALLBACK cancelDialogs(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    for (HWND dialog : dialogWindows())
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// Types the path into the open dialog's file name field and presses Open;
// returns the dialog's caption.
std::wstring chooseInOpenDialog(const std::string& path) {
    std::wstring caption;
    for (HWND dialog : dialogWindows()) {
        caption = windowText(dialog);
        HWND field = FindWindowExW(dialog, nullptr, L"ComboBox", nullptr);
        field = field ? FindWindowExW(field, nullptr, L"Edit", nullptr)
                      : FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        SetWindowTextW(field, tk::utf8ToWide(path).c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    SetTimer(nullptr, 0, 5000, cancelDialogs);
    return caption;
}

} // namespace

TEST(OpenDialogs, TakeAndGiveFoldersAndFilesInAnyLetters) {
    TempFolder temp;
    const std::string folder = makeFolder(temp.file(cyrillicName + "\\" + emojiName));
    const std::string file = folder + "\\" + japaneseName + ".bmp";
    writeFileAt(file, "BM");
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
        std::optional<std::string> chosen;
        {
            DuringNextLoop whileUp([&] { caption = chooseInOpenDialog(file); });
            chosen = run();
            EXPECT_TRUE(whileUp.ran()) << kind;
        }
        EXPECT_EQ(caption, tk::utf8ToWide(request.title)) << kind;
        EXPECT_EQ(chosen, file) << kind;
    }
}

namespace {

struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
};

// The message box up on this thread, read, then answered with `button`.
MessageBoxSeen readAndAnswer(int button) {
    MessageBoxSeen seen;
    for (HWND window : dialogWindows()) {
        seen.caption = windowText(window);
        // The text is the one static control that has text; the icon's has none.
        EnumChildWindows(
            window,
            [](HWND child, LPARAM into) -> BOOL {
                wchar_t kind[16] = {};
                wchar_t text[256] = {};
                GetClassNameW(child, kind, 16);
                GetWindowTextW(child, text, 256);
                if (lstrcmpiW(kind, L"Static") == 0 && text[0])
                    *reinterpret_cast<std::wstring*>(into) = text;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&seen.text));
        PostMessageW(window, WM_COMMAND, button, 0);
    }
    return seen;
}

} // namespace

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
