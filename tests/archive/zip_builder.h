// Builds ZIP archives in memory, field by field, so that tests (and the benchmark) can make
// honest archives and every kind of damaged one without an external program.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ziptest {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

inline uint32_t Crc(const Bytes& data)
{
    return (uint32_t)crc32_z(0, data.data(), data.size());
}

// Raw deflate (no zlib header), as ZIP members hold it.
inline Bytes Deflate(const Bytes& data, int level = Z_DEFAULT_COMPRESSION)
{
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, (uLong)data.size()) + 16);
    z.next_in = const_cast<uint8_t*>(data.data());
    z.avail_in = (uInt)data.size();
    z.next_out = out.data();
    z.avail_out = (uInt)out.size();
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

struct Member {
    Member(std::string memberName, Bytes memberData, int memberMethod = 8, int memberFlags = 0)
        : name(std::move(memberName)), data(std::move(memberData)), method(memberMethod), flags(memberFlags)
    {
    }

    std::string name;
    Bytes data;     // the member's bytes as extracted
    int method = 8; // 0 stored, 8 deflate; any other is written as stored bytes under that number
    int flags = 0;
    Bytes key;      // when given: flag bit 0, and the stored bytes XORed with the repeating key
    std::optional<uint32_t> crc;              // else the data's CRC-32
    std::optional<uint32_t> uncompressedSize; // else the data's size
    std::optional<uint32_t> compressedSize;   // else the size of the stored bytes
    std::optional<uint32_t> offset;           // else where the local header is
    std::optional<Bytes> stored;              // else the data, deflated for method 8
    uint16_t time = (14 << 11) | (30 << 5) | 5; // 14:30:10
    uint16_t date = (44 << 9) | (3 << 5) | 17;  // 2024-03-17
    uint32_t external = 0x20;
    std::string comment;
    Bytes localExtra;
    Bytes centralExtra;
    uint32_t localSignature = 0x04034b50;
};

struct Archive {
    std::vector<Member> members;
    std::string comment;
    Bytes trailing;                              // after the end record
    std::optional<uint16_t> count;               // both entry counts of the end record
    std::optional<uint32_t> directoryOffset;
    std::optional<uint32_t> directorySize;
    std::optional<uint16_t> commentLength;
    Bytes afterDirectory;                        // between the directory and the end record
};

inline void Put16(Bytes& b, uint32_t v)
{
    b.push_back((uint8_t)v);
    b.push_back((uint8_t)(v >> 8));
}

inline void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

inline void Append(Bytes& b, const Bytes& more)
{
    b.insert(b.end(), more.begin(), more.end());
}

inline void Append(Bytes& b, const std::string& more)
{
    b.insert(b.end(), more.begin(), more.end());
}

inline Bytes Build(const Archive& archive)
{
    Bytes zip;
    std::vector<uint32_t> offsets;
    std::vector<Bytes> stored;
    for (const Member& m : archive.members) {
        Bytes bytes = m.stored ? *m.stored : m.method == 8 ? Deflate(m.data) : m.data;
        for (size_t i = 0; !m.key.empty() && i < bytes.size(); ++i) bytes[i] ^= m.key[i % m.key.size()];
        offsets.push_back((uint32_t)zip.size());
        int flags = m.flags | (m.key.empty() ? 0 : 1);
        Put32(zip, m.localSignature);
        Put16(zip, 20);
        Put16(zip, (uint32_t)flags);
        Put16(zip, (uint32_t)m.method);
        Put16(zip, m.time);
        Put16(zip, m.date);
        Put32(zip, m.crc.value_or(Crc(m.data)));
        Put32(zip, m.compressedSize.value_or((uint32_t)bytes.size()));
        Put32(zip, m.uncompressedSize.value_or((uint32_t)m.data.size()));
        Put16(zip, (uint32_t)m.name.size());
        Put16(zip, (uint32_t)m.localExtra.size());
        Append(zip, m.name);
        Append(zip, m.localExtra);
        Append(zip, bytes);
        stored.push_back(bytes);
    }
    uint32_t directory = (uint32_t)zip.size();
    for (size_t i = 0; i < archive.members.size(); ++i) {
        const Member& m = archive.members[i];
        int flags = m.flags | (m.key.empty() ? 0 : 1);
        Put32(zip, 0x02014b50);
        Put16(zip, 20);
        Put16(zip, 20);
        Put16(zip, (uint32_t)flags);
        Put16(zip, (uint32_t)m.method);
        Put16(zip, m.time);
        Put16(zip, m.date);
        Put32(zip, m.crc.value_or(Crc(m.data)));
        Put32(zip, m.compressedSize.value_or((uint32_t)stored[i].size()));
        Put32(zip, m.uncompressedSize.value_or((uint32_t)m.data.size()));
        Put16(zip, (uint32_t)m.name.size());
        Put16(zip, (uint32_t)m.centralExtra.size());
        Put16(zip, (uint32_t)m.comment.size());
        Put16(zip, 0);
        Put16(zip, 0);
        Put32(zip, m.external);
        Put32(zip, m.offset.value_or(offsets[i]));
        Append(zip, m.name);
        Append(zip, m.centralExtra);
        Append(zip, m.comment);
    }
    uint32_t directorySize = (uint32_t)zip.size() - directory;
    Append(zip, archive.afterDirectory);
    uint16_t count = archive.count.value_or((uint16_t)archive.members.size());
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, count);
    Put16(zip, count);
    Put32(zip, archive.directorySize.value_or(directorySize));
    Put32(zip, archive.directoryOffset.value_or(directory));
    Put16(zip, archive.commentLength.value_or((uint16_t)archive.comment.size()));
    Append(zip, archive.comment);
    Append(zip, archive.trailing);
    return zip;
}

} // namespace ziptest
