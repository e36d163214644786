// Little-endian fields of a block of bytes from outside the program (picture
// files, metafile records, stored window shapes). Every read is
// bounds-checked: a field that does not lie wholly inside the block reads as
// nothing, whatever the offset, so no caller does offset arithmetic of its own
// against the block's end. Portable.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tk {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

    // Whether `count` bytes from `offset` lie inside the block.
    bool has(std::size_t offset, std::size_t count) const {
        return offset <= bytes_.size() && bytes_.size() - offset >= count;
    }

    // The integer of T's width at `offset`; nothing past the end.
    template <std::integral T> std::optional<T> get(std::size_t offset) const {
        if (!has(offset, sizeof(T)))
            return std::nullopt;
        std::make_unsigned_t<T> value = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            value |= static_cast<std::make_unsigned_t<T>>(
                static_cast<std::make_unsigned_t<T>>(bytes_[offset + i]) << (8 * i));
        return static_cast<T>(value);
    }

    // The same into `value`, which stays as it was past the end.
    template <std::integral T> bool read(std::size_t offset, T& value) const {
        std::optional<T> field = get<T>(offset);
        if (field)
            value = *field;
        return field.has_value();
    }

    // The `count` bytes from `offset` as a block of their own; nothing past
    // the end.
    std::optional<ByteReader> part(std::size_t offset, std::size_t count) const {
        if (!has(offset, count))
            return std::nullopt;
        return ByteReader(bytes_.subspan(offset, count));
    }

private:
    std::span<const std::uint8_t> bytes_;
};

// Appends `value` little-endian, in T's width.
template <std::integral T> void appendLittleEndian(std::vector<std::uint8_t>& bytes, T value) {
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

} // namespace tk
