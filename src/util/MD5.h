// MD5 digests (RFC 1321) of byte buffers and files. Picture files are named
// by the digest of their content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace util {

class CMD5 {
public:
    static constexpr size_t kDigestSize = 16;
    static constexpr size_t kFileChunk = 65536;

    CMD5();
    virtual ~CMD5();

    // Starts a new digest.
    void Reset();
    void Update(const void* data, size_t size);
    // Pads, writes the 16 digest bytes and starts a new digest.
    void Final(uint8_t digest[kDigestSize]);
    // The same as 32 lower-case hexadecimal characters.
    std::string FinalHex();

    // The digest of `size` bytes at `data`, as hexadecimal text.
    static std::string BufferDigest(const void* data, size_t size);
    static std::string BufferDigest(std::string_view bytes) { return BufferDigest(bytes.data(), bytes.size()); }

    // The digest of the file's content as hexadecimal text with a
    // terminating zero. False, with `out` untouched, when the file cannot
    // be opened or read.
    bool FileDigest(const char16_t* path, char out[33]);

private:
    void Transform(const uint8_t block[64]);

    uint8_t m_block[64] = {};  // only bytes written since the last block are read
    uint64_t m_bits;
    uint32_t m_state[4];
};

// The digest text of the file at `path`, or "" when it cannot be read.
std::string MD5Encode(const std::u16string& path);

}  // namespace util
