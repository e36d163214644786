// How long metafiles take to draw: each file named on the command line is
// loaded as the program loads a picture, then (converted if old-style and)
// played once into a bitmap at its natural size, the largest the program
// ever shows it at (the bitmap itself is cut at a screen's size, the
// drawing's work is not). Prints, per file, "name=value" figures: whether it
// loaded, the load's and the drawing's milliseconds, and the process's peak
// private bytes after both; it judges nothing. Run one file per process for
// a worst case: the player keeps the glyphs it rendered for the next file.
//
//     metafile_bench FILE...
#include "BenchFigures.h"
#include "toolkit/base/Error.h"
#include "toolkit/pictures/GdiHandles.h"
#include "toolkit/pictures/Picture.h"

#include <windows.h>

#include <algorithm>
#include <string>

using namespace bench;

namespace {

constexpr int screenWidth = 1920, screenHeight = 1080;

// Timed from the first measure: an old-style metafile is converted, which
// plays it, only then.
double playOnce(const tk::Picture& picture) {
    Stopwatch watch;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      std::clamp(picture.width(), 1, screenWidth),
                      -std::clamp(picture.height(), 1, screenHeight),
                      1,
                      32,
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    void* bits = nullptr;
    tk::BitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    tk::MemoryDc dc(CreateCompatibleDC(nullptr));
    tk::SelectObjectScope select(dc.get(), bitmap.get());
    RECT natural{0, 0, picture.width(), picture.height()};
    picture.draw(dc.get(), natural, true, false);
    GdiFlush();
    return watch.lap();
}

// What a process pays once, at its first drawing of shapes and text (Wine
// loads its fonts then), is paid before the first file: the program has
// drawn its windows by the time it shows a picture.
void warmUp() {
    tk::BitmapHandle bitmap(CreateBitmap(64, 64, 1, 32, nullptr));
    tk::MemoryDc dc(CreateCompatibleDC(nullptr));
    tk::SelectObjectScope select(dc.get(), bitmap.get());
    Ellipse(dc.get(), 0, 0, 60, 60);
    TextOutW(dc.get(), 0, 0, L"KESTON", 6);
    GdiFlush();
}

void measure(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    Stopwatch watch;
    try {
        tk::Picture picture = tk::Picture::fromFile(path);
        figure(name + "_load_ms", watch.lap());
        figure(name + "_play_ms", playOnce(picture));
        figure(name + "_size",
               std::to_string(picture.width()) + "x" + std::to_string(picture.height()));
    } catch (const tk::Error& error) {
        figure(name + "_load_ms", watch.lap());
        figure(name + "_refused", std::string(error.what()));
    }
    figure(name + "_peak_private_mb", double(processMemory().PeakPagefileUsage) / (1 << 20));
}

} // namespace

int main(int argc, char** argv) {
    warmUp();
    for (int i = 1; i < argc; ++i)
        measure(argv[i]);
    return 0;
}
