// Reads a fuzzer's bytes as a stream of choices, numbers and texts, so
// that one input plays a sequence of operations. Past the end it answers
// zeros and empty texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

class ByteStream {
public:
    ByteStream(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_at >= m_size; }

    uint8_t Byte() { return AtEnd() ? 0 : m_data[m_at++]; }
    bool Flag() { return (Byte() & 1) != 0; }
    // A choice among `count` (at least 1).
    size_t Choice(size_t count) { return Byte() % count; }

    int64_t Int64() {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i) value = (value << 8) | Byte();
        return int64_t(value);
    }

    // A text of up to 255 bytes, led by its length.
    std::string Text() {
        const size_t length = Byte();
        const size_t take = length < m_size - Used() ? length : m_size - Used();
        std::string text(reinterpret_cast<const char*>(m_data + m_at), take);
        m_at += take;
        return text;
    }

    // Units of a wide text taken two bytes each, up to the first zero unit,
    // as a text crosses an interface of NUL-terminated strings.
    std::u16string Wide() {
        const std::string bytes = Text();
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const char16_t unit = char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
            if (unit == 0) break;
            text += unit;
        }
        return text;
    }

    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(m_data + Used()), m_size - Used());
        m_at = m_size;
        return rest;
    }

private:
    size_t Used() const { return m_at < m_size ? m_at : m_size; }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

}  // namespace fuzz
