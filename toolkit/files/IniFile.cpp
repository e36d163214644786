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

// The program's own strings are in the code page; a marked file's text is
// UTF-8, so that no character of other keys is lost on the way back.
std::string IniFile::toFile(const std::string& text) const {
    return encoding_ == TextEncoding::none ? text : ansiToUtf8(text);
}

std::string IniFile::fromFile(const std::string& text) const {
    return encoding_ == TextEncoding::none ? text : utf8ToAnsi(text);
}

std::string IniFile::readString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    auto value = content_.read(toFile(section), toFile(key));
    return value ? fromFile(*value) : fallback;
}

std::string IniFile::profileString(const std::string& section, const std::string& key,
                                   const std::string& fallback) const {
    auto value = profileValue(text_, toFile(section), toFile(key), upperCaseFor(encoding_));
    // The platform's read fills a buffer of 2048 characters.
    return value ? fromFile(*value).substr(0, 2047) : fallback;
}

void IniFile::writeString(const std::string& section, const std::string& key,
                          const std::string& value) {
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

} // namespace tk
