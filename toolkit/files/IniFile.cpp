#include "toolkit/files/IniFile.h"

#include "toolkit/base/Error.h"
#include "toolkit/files/AtomicFile.h"
#include "toolkit/files/FileReader.h"
#include "toolkit/text/CodePage.h"

namespace tk {

namespace {

// Names match as the private-profile functions match them: upper-cased by the
// system's rules, so that both accesses find the same keys.
UpperCase upperCaseFor(TextEncoding encoding) {
    return encoding == TextEncoding::none ? ansiUpperCase : utf8UpperCase;
}

// Read in the writers' turn: a file being replaced cannot be opened on every
// system, and an open one cannot be replaced.
std::string readInTurn(const std::string& path) {
    FileTurn turn(path, fileTurnWait);
    return readFileIfPresent(path).value_or("");
}

} // namespace

IniFile::IniFile(std::string path) : IniFile(path, decodeText(readInTurn(path))) {}

IniFile::IniFile(std::string path, const MarkedText& file)
    : path_(std::move(path)), encoding_(file.encoding), text_(file.text),
      content_(file.text, upperCaseFor(file.encoding)) {}

// The text of a file without a mark stays in its code page, so that the lines
// the program does not touch keep every byte; a marked file's text is UTF-8,
// as the program's own strings are.
std::string IniFile::toFile(const std::string& text) const {
    return encoding_ == TextEncoding::none ? utf8ToAnsi(text) : text;
}

std::string IniFile::fromFile(const std::string& text) const {
    return encoding_ == TextEncoding::none ? ansiToUtf8(text) : text;
}

// The file as read, in UTF-16, with this object's writes made again.
void IniFile::becomeUnicode() {
    std::vector<Write> writes = std::move(writes_);
    *this = IniFile(path_, {TextEncoding::utf16le, ansiToUtf8(text_)});
    for (const Write& write : writes)
        writeString(write.section, write.key, write.value);
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    auto value = content_.read(toFile(section), toFile(key));
    return value ? fromFile(*value) : fallback;
}

std::string IniFile::profileString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
    return profileString(section, key).value_or(fallback);
}

std::optional<std::string> IniFile::profileString(const std::string& section,
                                                  const std::string& key) const {
    auto value = profileValue(text_, toFile(section), toFile(key), upperCaseFor(encoding_));
    if (!value)
        return std::nullopt;
    // The platform's read fills a buffer of 2048 UTF-16 units.
    constexpr std::size_t room = 2047;
    std::string text = fromFile(*value);
    std::u16string units = text.size() > room ? utf8ToUtf16(text) : std::u16string();
    return units.size() > room ? utf16ToUtf8(units.substr(0, room)) : text;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
    if (encoding_ == TextEncoding::none && !fitsCodePage(section + key + value))
        becomeUnicode();
    content_.write(toFile(section), toFile(key), toFile(value));
    writes_.push_back({section, key, value});
}

void IniFile::updateFile() {
    rewriteFileContent(path_, [this](const std::optional<std::string>& current) {
        IniFile now(path_, decodeText(current.value_or("")));
        for (const Write& write : writes_)
            now.writeString(write.section, write.key, write.value);
        encoding_ = now.encoding_;
        content_ = now.content_;
        text_ = content_.text();
        return encodeText(text_, encoding_);
    });
}

bool holdUnicode(const std::string& path) {
    try {
        std::string bytes = readWholeFile(path);
        if (encodingOf(bytes) != TextEncoding::none)
            return true;
        return overwriteFile(path, encodeText(ansiToUtf8(bytes), TextEncoding::utf16le));
    } catch (const Error&) {
        return false;
    }
}

} // namespace tk
