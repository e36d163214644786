#include "toolkit/files/IniFile.h"

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

} // namespace

// Read without the writers' turn: every write swaps its file in with one
// rename, so a read finds the old file or the new one, whole.
IniFile::IniFile(std::string path)
    : IniFile(path, decodeTextOrUnmarkedUtf16(readFileIfPresent(path).value_or(""))) {}

IniFile::IniFile(std::string path, MarkedText file)
    : path_(std::move(path)), encoding_(file.encoding),
      content_(std::move(file.text), upperCaseFor(file.encoding)) {}

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
    *this = IniFile(path_, {TextEncoding::utf16le, ansiToUtf8(content_.source())});
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
    auto value =
        profileValue(content_.source(), toFile(section), toFile(key), upperCaseFor(encoding_));
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
    rewriteFileContent(path_, [this](std::optional<std::string> current) {
        // The file as it is now takes the place of the text read before, so
        // that two copies of it at most are held: the text and its bytes. A
        // move lets the text go; assigning an empty one would keep its room.
        (void)IniText(std::move(content_));
        std::string text;
        {
            IniFile now(path_, decodeTextOrUnmarkedUtf16(std::move(current).value_or("")));
            for (const Write& write : writes_)
                now.writeString(write.section, write.key, write.value);
            encoding_ = now.encoding_;
            text = now.content_.text();
        }
        std::string bytes = encodeText(text, encoding_);
        content_ = IniText(std::move(text), upperCaseFor(encoding_));
        return bytes;
    });
}

std::string withProfileString(std::string bytes, const std::string& section, const std::string& key,
                              const std::string& value) {
    MarkedText file = decodeTextOrUnmarkedUtf16(std::move(bytes));
    if (file.encoding == TextEncoding::none && !fitsCodePage(section + key + value))
        file = {TextEncoding::utf16le, ansiToUtf8(file.text)};
    const bool ansi = file.encoding == TextEncoding::none;
    auto inFile = [ansi](const std::string& text) { return ansi ? utf8ToAnsi(text) : text; };
    const std::string_view text = file.text;
    const ProfileEdit edit =
        profileEdit(text, inFile(section), inFile(key), inFile(value), upperCaseFor(file.encoding));
    return encodeText({text.substr(0, edit.begin), edit.line, text.substr(edit.end)},
                      file.encoding);
}

} // namespace tk
