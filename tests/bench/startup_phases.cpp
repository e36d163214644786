// Where the start goes: times each phase of the start-up sequence as the
// program runs it, from a program folder prepared as a user's (keston.ini,
// gamelist, a MAME folder with its ROM set), copied there by tests/bench/run.
// The main window is created and shown as the program entry does; the steps
// of its first show are told apart by the splash window's status texts as it
// paints them, the loading panel's showing and hiding and the main window's
// first paint, watched from outside their objects. The parts of the list
// build, which no message tells apart (the ROM directory, the listing, the
// lookups, the fills), are then run once more through the same functions.
// Prints "name=value" figures; exits non-zero when the list is not complete.
//
//     startup_phases [show-all]     show-all: the last build lists every file
#include "BenchFigures.h"
#include "catalogue/GameIndex.h"
#include "catalogue/GameList.h"
#include "catalogue/RomDirectory.h"
#include "settings/ProgramSettings.h"
#include "settings/Settings.h"
#include "support/ScriptedDialogs.h"
#include "support/WindowHooks.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "toolkit/text/CodePage.h"
#include "ui/MainWindow.h"
#include "ui/SplashWindow.h"
#include "ui/StartListing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace bench;

namespace {

// Notes the moments a window receives the messages it is asked to watch for,
// from a procedure put in front of its own. In the window's character width,
// so that no text message is converted on its way through.
class MessageWatch {
public:
    using Wanted = std::function<std::optional<std::string>(UINT, WPARAM)>;

    MessageWatch(HWND window, Wanted wanted) : window_(window), wanted_(std::move(wanted)) {
        watches()[window] = this;
        wide_ = IsWindowUnicode(window);
        auto procedure = reinterpret_cast<LONG_PTR>(&MessageWatch::procedure);
        previous_ =
            reinterpret_cast<WNDPROC>(wide_ ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                                            : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure));
    }
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;
    ~MessageWatch() {
        auto procedure = reinterpret_cast<LONG_PTR>(previous_);
        if (IsWindow(window_))
            wide_ ? SetWindowLongPtrW(window_, GWLP_WNDPROC, procedure)
                  : SetWindowLongPtrA(window_, GWLP_WNDPROC, procedure);
        watches().erase(window_);
    }

    // The first moment a message of that name was handled to its end.
    std::optional<LARGE_INTEGER> first(const std::string& name) const {
        auto found = moments_.find(name);
        return found == moments_.end() ? std::nullopt : std::optional(found->second);
    }

private:
    static std::map<HWND, MessageWatch*>& watches() {
        static std::map<HWND, MessageWatch*> all;
        return all;
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        MessageWatch* watch = watches().at(window);
        LRESULT result = watch->wide_
                             ? CallWindowProcW(watch->previous_, window, message, wParam, lParam)
                             : CallWindowProcA(watch->previous_, window, message, wParam, lParam);
        if (auto name = watch->wanted_(message, wParam))
            watch->moments_.try_emplace(*name, now());
        return result;
    }

    HWND window_;
    Wanted wanted_;
    bool wide_ = false;
    WNDPROC previous_ = nullptr;
    std::map<std::string, LARGE_INTEGER> moments_;
};

// The splash window's status texts, each with the moment it was first
// painted: read from its status line whenever the panel that carries it
// paints.
class SplashTexts {
public:
    std::optional<LARGE_INTEGER> at(const std::string& text) const {
        for (const auto& [shown, moment] : moments_)
            if (shown == text)
                return moment;
        return std::nullopt;
    }

private:
    void read(HWND painted) {
        auto* splash = dynamic_cast<ui::TForm4*>(tk::Form::owning(painted));
        if (!splash || painted != splash->Panel1.handle())
            return;
        if (moments_.empty() || moments_.back().first != splash->status.caption())
            moments_.emplace_back(splash->status.caption(), now());
    }

    std::vector<std::pair<std::string, LARGE_INTEGER>> moments_;
    testing_support::SentMessageWatch paints_{WM_PAINT, [this](HWND painted) { read(painted); }};
};

// The moments the start's own rows go into a list box: a list box fills
// itself through its class's procedure, past any procedure in front of the
// window's, so the watch stands in for the class's procedure while it lives.
class FillWatch {
public:
    explicit FillWatch(HWND list) : list_(list) {
        watch() = this;
        previous_ = reinterpret_cast<WNDPROC>(SetClassLongPtrW(
            list, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FillWatch::procedure)));
    }
    FillWatch(const FillWatch&) = delete;
    FillWatch& operator=(const FillWatch&) = delete;
    ~FillWatch() {
        SetClassLongPtrW(list_, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        watch() = nullptr;
    }

    // From the drawing turned off for the first fill to its turning on.
    std::optional<LARGE_INTEGER> begun() const { return begun_; }
    std::optional<LARGE_INTEGER> ended() const { return ended_; }

private:
    static FillWatch*& watch() {
        static FillWatch* current = nullptr;
        return current;
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        FillWatch* self = watch();
        if (self && window == self->list_ && message == WM_SETREDRAW && !wParam && !self->begun_)
            self->begun_ = now();
        LRESULT result = CallWindowProcW(self->previous_, window, message, wParam, lParam);
        if (self && window == self->list_ && message == WM_SETREDRAW && wParam && self->begun_ &&
            !self->ended_)
            self->ended_ = now();
        return result;
    }

    HWND list_;
    WNDPROC previous_ = nullptr;
    std::optional<LARGE_INTEGER> begun_;
    std::optional<LARGE_INTEGER> ended_;
};

// How long ListBox1 takes to answer each key typed to find a row, its new
// selection painted: words typed letter by letter, each taken back by
// Backspace before the next, the last one no row begins with; a letter typed
// again and again; F3 and Shift+F3 after "mo". The keys are sent, not posted,
// so they all bear the time of one message: no pause comes between them.
void timeTypeToFind(ui::TForm1& w, const std::string& suffix) {
    std::vector<double> times;
    auto timed = [&](UINT message, WPARAM key) {
        LARGE_INTEGER from = now();
        SendMessageW(w.ListBox1.handle(), message, key, 0);
        UpdateWindow(w.ListBox1.handle());
        times.push_back(msBetween(from, now()));
    };
    for (std::wstring word : {L"pac", L"street", L"zoo", L"xqzw"}) {
        for (wchar_t character : word)
            timed(WM_CHAR, character);
        for (std::size_t i = 0; i < word.size(); ++i)
            timed(WM_CHAR, L'\b');
    }
    for (wchar_t character : std::wstring(L"ssssss\b\b\b\b\b\bmo"))
        timed(WM_CHAR, character);
    BYTE keys[256];
    GetKeyboardState(keys);
    for (BYTE shift : {0x00, 0x80}) {
        keys[VK_SHIFT] = shift;
        SetKeyboardState(keys);
        for (int i = 0; i < 3; ++i)
            timed(WM_KEYDOWN, VK_F3);
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    figure("type_to_find_rows" + suffix, static_cast<std::size_t>(w.ListBox1.count()));
    figure("type_to_find_keys" + suffix, times.size());
    figure("type_to_find_median_ms" + suffix, median(times), 3);
    figure("type_to_find_max_ms" + suffix, *std::max_element(times.begin(), times.end()), 3);
}

// A phase between two moments; missing moments make it missing, not zero.
void phase(const std::string& name, std::optional<LARGE_INTEGER> from,
           std::optional<LARGE_INTEGER> to, Checks& checks) {
    checks.equal("seen_" + name, from && to, true);
    if (from && to)
        figure("phase_" + name + "_ms", msBetween(*from, *to));
}

// The heap bytes a part keeps, from one step to the next.
class Scale {
public:
    void weigh(const std::string& name) {
        std::size_t held = heapBytes();
        figure("part_" + name + "_bytes",
               static_cast<long long>(held) - static_cast<long long>(last_));
        last_ = held;
    }
    void zero() { last_ = heapBytes(); }

private:
    std::size_t last_ = heapBytes();
};

// The parts of the list build again, one by one, through the functions the
// build calls, each timed and weighed, and the list boxes' fills from the
// rows built, each weighed from an empty list.
void timeBuildParts(ui::TForm1& w, bool showAll) {
    figure("part_peak_private_bytes_after_start", processMemory().PeakPagefileUsage);
    figure("part_heap_bytes_after_start", heapBytes());
    Scale scale;
    Stopwatch clock;
    catalogue::RomDirectory decided = catalogue::ResolveRomDirectory(
        settings::ProgramSettings::read().mameExe(), tk::DirectorySetting(), [] { return false; });
    figure("part_rom_directory_ms", clock.lap());
    std::optional<std::vector<std::string>> files =
        tk::listFiles(decided.directory.folders(), decided.directory.pattern());
    figure("part_listing_ms", clock.lap());
    scale.weigh("listing");
    catalogue::GameRows games(*files);
    files.reset();
    figure("part_files_held_ms", clock.lap());
    scale.weigh("files_held");
    std::optional<catalogue::GameIndex> index(settings::programFile(settings::gameListFileName));
    index->lookup("");
    figure("part_gamelist_read_ms", clock.lap());
    scale.weigh("gamelist_index");
    catalogue::appendGames(
        [&](std::string_view name) { return tk::utf8OfUtf8OrAnsi(index->lookup(name)); }, showAll,
        games);
    figure("part_lookups_ms", clock.lap());
    index.reset();
    scale.weigh("rows_held");

    // The list boxes' fills: the same work whenever it is done.
    auto fill = [&](const std::string& name, auto& list, tk::RowSource rows) {
        list.clear();
        scale.zero();
        clock.lap();
        list.assign(std::move(rows));
        figure("part_" + name + "_fill_ms", clock.lap());
        scale.weigh(name + "_window");
    };
    fill("filelist", w.filelist,
         {[&] { return games.fileCount(); }, [&](std::size_t i) { return games.file(i); }});
    fill("ziplist", w.ziplist,
         {[&] { return games.fileCount() + 1; }, [&](std::size_t i) { return games.file(i); }});
    fill("gamelist", w.gamelist,
         {[&] { return games.size(); }, [&](std::size_t i) { return games.shortName(i); }});
    fill("listbox1", w.ListBox1,
         {[&] { return games.size(); }, [&](std::size_t i) { return games.description(i); }});
    // The window's own lists read its own rows again.
    w.refreshlist();
}

int run(bool showAll) {
    // Begun first, as the program entry begins it.
    ui::StartListing romFolderListing;
    testing_support::ScriptedDialogs dialogs;
    Checks checks;
    Stopwatch clock;
    ui::TForm1 w(romFolderListing);
    figure("phase_main_window_ms", clock.lap());

    SplashTexts texts;
    MessageWatch panel(w.Panel2.handle(), [](UINT message, WPARAM shown) {
        if (message != WM_SHOWWINDOW)
            return std::optional<std::string>();
        return std::optional<std::string>(shown ? "shown" : "hidden");
    });
    MessageWatch paint(w.handle(), [](UINT message, WPARAM) {
        return message == WM_PAINT ? std::optional<std::string>("painted") : std::nullopt;
    });
    std::optional<FillWatch> fill(std::in_place, w.ListBox1.handle());
    LARGE_INTEGER showCalled = now();
    w.show();
    LARGE_INTEGER showReturned = now();
    tk::application().processMessages();
    std::optional<LARGE_INTEGER> fillBegun = fill->begun(), fillEnded = fill->ended();
    fill.reset();

    phase("splash", showCalled, texts.at("Creating the Credit Zone"), checks);
    phase("secondary_windows", texts.at("Creating the Credit Zone"),
          texts.at("Loading Windows XP/2000 option status"), checks);
    phase("settings", texts.at("Loading Windows XP/2000 option status"),
          texts.at("Loading Default Skin"), checks);
    phase("skin", texts.at("Loading Default Skin"), texts.at("Searching for Config files"), checks);
    phase("files_present", texts.at("Searching for Config files"), texts.at("Loading Gamelist"),
          checks);
    phase("build", panel.first("shown"), panel.first("hidden"), checks);
    phase("listbox1_fill", fillBegun, fillEnded, checks);
    phase("build_to_fill", panel.first("shown"), fillBegun, checks);
    phase("splash_close_and_show", panel.first("hidden"), showReturned, checks);
    phase("first_paint", showReturned, paint.first("painted"), checks);
    phase("sequence", showCalled, paint.first("painted"), checks);

    std::size_t rows = static_cast<std::size_t>(w.ListBox1.count());
    figure("listbox1_rows", rows);
    checks.equal("gamelist_rows", static_cast<std::size_t>(w.gamelist.count()), rows);
    checks.equal("dialogs_shown", dialogs.log.size(), 0);

    timeTypeToFind(w, "");
    timeBuildParts(w, showAll);
    w.CheckBox1.setChecked(showAll);
    clock.lap();
    w.refreshlist();
    figure(showAll ? "refreshlist_show_all_ms" : "refreshlist_ms", clock.lap());
    figure(showAll ? "refreshlist_show_all_rows" : "refreshlist_rows",
           static_cast<std::size_t>(w.ListBox1.count()));
    timeTypeToFind(w, showAll ? "_show_all" : "_after_build");
    checks.equal("hidden_rows_after_build", static_cast<std::size_t>(w.gamelist.count()),
                 static_cast<std::size_t>(w.ListBox1.count()));
    figure("checks", std::string(checks.ok() ? "ok" : "FAILED"));
    return checks.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc > 1 && std::strcmp(argv[1], "show-all") == 0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "startup_phases: %s\n", error.what());
        return 1;
    }
}
