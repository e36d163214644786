// Times the game-list build of the main window over a full set of ROM files
// and the real -listfull output of MAME, next to the per-call sequential
// lookup it replaces, and weighs the game index against the gamelist file.
// Prints one "name=value" figure per line; exits non-zero when the built
// list is not the expected one, since a fast wrong list proves nothing.
//
//     refreshlist_bench <-listfull output> [runs]
#include "BenchFigures.h"
#include "catalogue/GameIndex.h"
#include "catalogue/GameList.h"
#include "catalogue/LookupKey.h"
#include "catalogue/RomDirectory.h"
#include "settings/Settings.h"
#include "support/Files.h"
#include "support/ProgramFolder.h"
#include "support/ScriptedDialogs.h"
#include "toolkit/base/Error.h"
#include "toolkit/base/Handles.h"
#include "toolkit/files/DirectoryListing.h"
#include "toolkit/files/Paths.h"
#include "toolkit/gui/Application.h"
#include "ui/MainWindow.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

using namespace bench;
using testing_support::inProgramFolder;

namespace {

constexpr std::size_t sequentialSubset = 2000;

struct Game {
    std::string name;
    std::string description;
};

// The games of a -listfull output: lines of a short name, blanks and the
// description in double quotes. The heading line has no quotes.
std::vector<Game> readGames(const std::string& path) {
    std::string text = testing_support::readFile(path);
    std::vector<Game> games;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto blank = line.find(' ');
        auto quote = line.find_first_not_of(' ', blank);
        if (blank == std::string_view::npos || quote == std::string_view::npos ||
            line[quote] != '"')
            continue;
        std::string_view value = line.substr(quote);
        games.push_back(
            {std::string(line.substr(0, blank)),
             value.size() < 3 ? std::string() : std::string(value.substr(1, value.size() - 2))});
    }
    if (games.empty())
        throw tk::Error("No games in " + path);
    return games;
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void createFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    tk::FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
    if (!file)
        throw tk::Error("Cannot create file " + path);
    if (attributes != FILE_ATTRIBUTE_NORMAL &&
        (GetFileAttributesA(path.c_str()) & attributes) != attributes)
        throw tk::Error("The attributes of " + path + " were not kept");
}

void createFolder(const std::string& path) {
    if (!CreateDirectoryA(path.c_str(), nullptr))
        throw tk::Error("Cannot create folder " + path);
}

// Names are gathered before anything is deleted, so that the search never
// runs over a folder that changes under it.
void removeTree(const std::string& folder) {
    std::vector<std::pair<std::string, bool>> entries;
    WIN32_FIND_DATAA found;
    if (tk::FindHandle search(FindFirstFileA(tk::joinPath(folder, "*").c_str(), &found)); search) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                entries.emplace_back(tk::joinPath(folder, name),
                                     found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        } while (FindNextFileA(search.get(), &found));
    }
    for (const auto& [path, isFolder] : entries) {
        if (isFolder) {
            removeTree(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

// The folder as Wine's "\\?\unix" path, for creating many files in it: before
// it creates a file named by its Windows path, Wine reads the whole folder
// (even for a case-sensitive name), which makes a full set take ten minutes
// instead of seconds. Windows has neither that cost nor that path, and keeps
// the folder as it is.
std::string creationPath(const std::string& folder) {
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    auto unixFileName = reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName)
        return folder;
    std::wstring wide(folder.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(),
                                     static_cast<int>(wide.size()));
    char* unixName = length ? unixFileName(wide.c_str()) : nullptr;
    if (!unixName)
        return folder;
    std::string path = std::string("\\\\?\\unix") + unixName;
    HeapFree(GetProcessHeap(), 0, unixName);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH + 1];
        DWORD length = GetTempPathA(sizeof base, base);
        path_ = tk::joinPath(std::string(base, length),
                             "keston-bench-" + std::to_string(GetCurrentProcessId()));
        removeTree(path_);
        createFolder(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { removeTree(path_); }

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// What a full-set ROM folder must give.
struct RomSet {
    std::size_t files = 0; // the ordinary files: the rows of the file list
    std::size_t rows = 0;  // those whose base name is a game
};

// One file per game, as sets name them, with what real folders also hold:
// names in capitals, .7z twins, files no game is named after; and what must
// never be listed: folders, hidden and system files named like games.
RomSet createRomSet(const std::string& romFolder, const std::vector<Game>& games) {
    const std::string folder = creationPath(romFolder);
    RomSet set;
    auto listed = [&](const std::string& name, bool game) {
        createFile(tk::joinPath(folder, name));
        ++set.files;
        set.rows += game;
    };
    for (std::size_t i = 0; i < games.size(); ++i) {
        const std::string& name = games[i].name;
        listed(i % 50 == 0 ? upper(name) + ".ZIP" : name + ".zip", true);
        if (i % 20 == 7)
            listed(name + ".7z", true);
        if (i % 9000 == 3)
            createFolder(tk::joinPath(folder, name + ".7z"));
        if (i % 5000 == 11)
            createFile(tk::joinPath(folder, name + ".rar"), FILE_ATTRIBUTE_HIDDEN);
        if (i % 5000 == 13)
            createFile(tk::joinPath(folder, name + ".rar"), FILE_ATTRIBUTE_SYSTEM);
    }
    for (const char* name : {"readme.txt", "roms.dat", "mame.sqlite"})
        listed(name, false);
    return set;
}

// A MAME folder whose mame.ini names the ROM folder, and the settings file
// that names its mame.exe.
void writeMameSetup(const std::string& temp, const std::string& roms) {
    std::string mame = tk::joinPath(temp, "mame");
    createFolder(mame);
    createFile(tk::joinPath(mame, "mame.exe"));
    testing_support::writeFile(tk::joinPath(mame, "mame.ini"),
                               "rompath                   " + roms + "\r\n");
    testing_support::writeFile(settings::settingsPath(),
                               "[config]\r\nmameexe=" + tk::joinPath(mame, "mame.exe") + "\r\n");
}

// The process's private bytes. Windows counts them as PrivateUsage and, the
// same figure, PagefileUsage; Wine fills only the latter (resident private
// pages), so the larger of the two is taken.
long long privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        throw tk::Error("Cannot read the process's memory counters");
    return static_cast<long long>(std::max(counters.PrivateUsage, counters.PagefileUsage));
}

long long fileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        throw tk::Error("Cannot read the size of " + path);
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// Measured first, while the heap holds no freed blocks the index could reuse
// unseen.
void reportIndexMemory(const std::string& gamelist) {
    long long before = privateBytes();
    catalogue::GameIndex index(gamelist);
    index.lookup("pacman"); // the file is read and indexed at the first lookup
    long long after = privateBytes();
    long long size = fileSize(gamelist);
    figure("gamelist_bytes", size);
    figure("index_private_bytes_before", before);
    figure("index_private_bytes_after", after);
    figure("index_private_bytes", after - before);
    figure("index_memory_ratio", static_cast<double>(after - before) / static_cast<double>(size),
           2);
}

// Times a build the bench does not call itself, the one of the start-up
// sequence: a build shows the loading panel first and hides it last, so the
// panel's own show and hide messages bracket it. Only the panel's messages
// pass through here, so the build runs as fast as without the watch.
class BuildWatch {
public:
    explicit BuildWatch(tk::Panel& panel) : window_(panel.handle()) {
        watch_ = this;
        previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BuildWatch::procedure)));
    }
    BuildWatch(const BuildWatch&) = delete;
    BuildWatch& operator=(const BuildWatch&) = delete;
    ~BuildWatch() {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        watch_ = nullptr;
    }

    // From the panel's first showing to its last hiding; 0 when it was not
    // both shown and hidden.
    double ms() const { return shown_ && hidden_ ? msBetween(*shown_, *hidden_) : 0; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SHOWWINDOW) {
            if (wParam && !watch_->shown_)
                watch_->shown_ = now();
            else if (!wParam)
                watch_->hidden_ = now();
        }
        return CallWindowProcA(watch_->previous_, window, message, wParam, lParam);
    }

    static inline BuildWatch* watch_ = nullptr;
    HWND window_;
    WNDPROC previous_;
    std::optional<LARGE_INTEGER> shown_;
    std::optional<LARGE_INTEGER> hidden_;
};

// The start-up sequence, whose build is the first of the process. Under Xvfb
// without a window manager the sequence also holds Wine's two-second wait for
// the splash window to be withdrawn, which the build itself does not.
void timeStartUp(ui::TForm1& w, Checks& checks) {
    BuildWatch build(w.Panel2);
    Stopwatch start;
    w.show();
    figure("startup_show_ms", start.lap());
    figure("startup_refreshlist_ms", build.ms());
    checks.equal("startup_build_seen", build.ms() > 0, true);
    tk::application().processMessages();
}

// Every row against the -listfull output: row i of gamelist names a game
// (as its file spells it) whose description is row i of ListBox1.
void checkRows(const ui::TForm1& w, const std::vector<Game>& games, const RomSet& set,
               Checks& checks) {
    std::unordered_map<std::string, const std::string*> descriptions;
    for (const Game& game : games)
        descriptions.emplace(lower(game.name), &game.description);
    std::vector<std::string> names = w.gamelist.items();
    std::vector<std::string> rows = w.ListBox1.items();
    std::size_t matching = 0;
    for (std::size_t i = 0; i < std::min(names.size(), rows.size()); ++i) {
        auto found = descriptions.find(lower(names[i]));
        matching += found != descriptions.end() && *found->second == rows[i];
    }
    figure("listbox1_rows", rows.size());
    figure("listbox1_rows_expected", set.rows);
    figure("ziplist_rows", static_cast<std::size_t>(w.ziplist.count()));
    checks.equal("listbox1_rows", rows.size(), set.rows);
    checks.equal("gamelist_rows", names.size(), set.rows);
    checks.equal("rows_matching_listfull", matching, set.rows);
    checks.equal("ziplist_rows_with_end_row", w.ziplist.count(), set.files + 1);
}

double timeRefreshlist(ui::TForm1& w, const RomSet& set, int runs, Checks& checks) {
    std::vector<double> times;
    for (int run = 1; run <= runs; ++run) {
        Stopwatch clock;
        w.refreshlist();
        times.push_back(clock.lap());
        figure("refreshlist_ms_run" + std::to_string(run), times.back());
        checks.equal("listbox1_rows_run" + std::to_string(run),
                     static_cast<std::size_t>(w.ListBox1.count()), set.rows);
        // Between builds the window paints, as it would for the user.
        tk::application().processMessages();
    }
    figure("refreshlist_ms_median", median(times));
    return median(times);
}

// Reading gamelist into the index and looking every file up, as a build does.
double indexedLookupMs(const std::vector<std::string>& files, const std::string& gamelist) {
    Stopwatch clock;
    catalogue::GameIndex index(gamelist);
    for (const auto& file : files)
        index.lookup(tk::baseName(file));
    return clock.lap();
}

// The per-call lookup that reads gamelist from its start for each file, on
// files spread evenly over the sorted list, so the keys lie all over the file.
double sequentialMsPerFile(const std::vector<std::string>& files, const std::string& gamelist,
                           Checks& checks) {
    std::size_t step = std::max<std::size_t>(1, files.size() / sequentialSubset);
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < files.size() && keys.size() < sequentialSubset; i += step)
        keys.push_back(tk::baseName(files[i]));
    std::size_t found = 0;
    Stopwatch clock;
    for (const std::string& key : keys)
        found += !catalogue::LookupKey(key, gamelist).empty();
    double ms = clock.lap();
    figure("sequential_files", keys.size());
    figure("sequential_found", found);
    figure("sequential_ms", ms);
    checks.equal("sequential_subset_size", keys.size(), std::min(files.size(), sequentialSubset));
    return ms / static_cast<double>(keys.size());
}

int run(const std::string& listFull, int runs) {
    testing_support::ScriptedDialogs dialogs;
    Checks checks;
    const std::string gamelist = inProgramFolder("gamelist");
    if (!CopyFileA(listFull.c_str(), gamelist.c_str(), FALSE))
        throw tk::Error("Cannot copy " + listFull + " to " + gamelist);
    reportIndexMemory(gamelist);

    std::vector<Game> games = readGames(listFull);
    figure("listfull_games", games.size());
    TempFolder temp;
    std::string roms = tk::joinPath(temp.path(), "roms");
    createFolder(roms);
    Stopwatch setup;
    RomSet set = createRomSet(roms, games);
    figure("romset_create_ms", setup.lap());
    figure("romset_files", set.files);
    writeMameSetup(temp.path(), roms);

    ui::TForm1 w;
    timeStartUp(w, checks);
    double refreshMs = timeRefreshlist(w, set, runs, checks);
    checkRows(w, games, set, checks);
    checks.equal("dialogs_shown", dialogs.log.size(), 0);

    const std::vector<std::string> files = w.filelist.listed();
    double sequentialPerFile = sequentialMsPerFile(files, gamelist, checks);
    double fileCount = static_cast<double>(files.size());
    double indexedPerFile = refreshMs / fileCount;
    double lookupPerFile = indexedLookupMs(files, gamelist) / fileCount;
    figure("files", files.size());
    figure("sequential_us_per_file", 1000 * sequentialPerFile, 2);
    figure("sequential_fullset_estimate_ms", sequentialPerFile * fileCount, 0);
    figure("refreshlist_us_per_file", 1000 * indexedPerFile, 3);
    figure("index_lookup_us_per_file", 1000 * lookupPerFile, 3);
    figure("per_file_speedup", sequentialPerFile / indexedPerFile, 0);
    figure("per_file_speedup_lookup_only", sequentialPerFile / lookupPerFile, 0);

    DeleteFileA(settings::settingsPath().c_str());
    DeleteFileA(gamelist.c_str());
    figure("checks", std::string(checks.ok() ? "ok" : "FAILED"));
    return checks.ok() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: refreshlist_bench <-listfull output> [runs]\n");
        return 2;
    }
    try {
        return run(argv[1], argc > 2 ? std::max(1, std::atoi(argv[2])) : 5);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "refreshlist_bench: %s\n", error.what());
        return 1;
    }
}
