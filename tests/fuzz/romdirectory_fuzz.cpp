// MAME's ROM folder decided from whatever its configuration files say. The
// first byte says which files exist beside MAME and in its "ini" folder and
// how the user answers; the rest, split at NUL, is the text of the mame.ini
// beside MAME, of every other mame.ini, and mame.cfg's rompath. Every
// decision hands over at least one folder at each step, and names a line
// that exists.
#include "catalogue/KeyLines.h"
#include "catalogue/RomDirectoryRules.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr char mameExe[] = "C:\\mame\\mame.exe";
constexpr char folderIni[] = "C:\\mame\\mame.ini";

class FuzzedSources : public catalogue::RomSources {
public:
    FuzzedSources(unsigned char flags, std::array<std::string, 3> texts)
        : flags_(flags), texts_(std::move(texts)) {}

    bool fileExists(const std::string& path) override {
        if (path == folderIni)
            return flags_ & 1;
        if (path.ends_with("\\mame.cfg"))
            return flags_ & 2;
        return path.ends_with("mame.ini") && (flags_ & 4);
    }
    bool isDirectory(const std::string& path) override { return path.size() % 3 == 0; }
    catalogue::KeyValue iniValue(const std::string& iniFile, const std::string& key) override {
        const std::string& text = textOf(iniFile);
        catalogue::KeyValue found = catalogue::keyLineInText(key, text);
        // However lines end, there are no more of them than line-end bytes.
        auto ends =
            std::count_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; });
        FUZZ_CHECK(found.line <= static_cast<std::size_t>(ends) + 1);
        return found;
    }
    std::string cfgRomPath(const std::string&) override { return texts_[2]; }
    std::string expandedEnvironment(const std::string& text) override { return text; }
    bool userChoosesDosMame() override { return flags_ & 8; }

private:
    const std::string& textOf(const std::string& ini) const {
        return ini == folderIni ? texts_[0] : texts_[1];
    }

    unsigned char flags_;
    std::array<std::string, 3> texts_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string_view input = fuzz_support::text(data + 1, size - 1);
    std::array<std::string, 3> texts;
    for (std::string& text : texts) {
        std::size_t end = std::min(input.find('\0'), input.size());
        text = std::string(input.substr(0, end));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    FuzzedSources sources(data[0], std::move(texts));
    catalogue::RomDecision decided = catalogue::chooseRomDirectory(mameExe, sources);
    // The INI's folders, and the CFG's after them when the user says DOS MAME.
    FUZZ_CHECK(!decided.handed.empty() && decided.handed.size() <= 2);
    for (const catalogue::RomFolders& folders : decided.handed) {
        FUZZ_CHECK(!folders.paths.empty());
        FUZZ_CHECK(std::none_of(folders.paths.begin(), folders.paths.end(),
                                [](const std::string& path) { return path.empty(); }));
        FUZZ_CHECK(folders.source.line == 0 || folders.source.setsRomPath);
    }
    return 0;
}
