#include "DeflateStreamJoin.h"

#include <array>
#include <cstring>
#include <optional>

namespace lumivex::DeflateStreamJoin {
namespace {

constexpr int maxCodeLength = 15;
constexpr int endOfBlock = 256;

// Reads bits least significant first, as deflate stores them, through a 64-bit buffer. Past the end it reads
// zeros and atEnd() turns true, so a cut stream fails instead of running away.
class BitReader {
public:
    BitReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // Bits consumed so far.
    std::size_t position() const { return m_consumedBits; }
    bool atEnd() const { return m_consumedBits > m_size * 8; }

    // Makes sure that the next `count` bits (at most 56) are buffered: the *Buffered calls for that many bits may
    // follow without checking again, which keeps the symbol loop short.
    void ensure(int count)
    {
        if (m_available < count)
            refill();
    }
    std::uint32_t peekBuffered(int count) const { return std::uint32_t(m_buffer & ((std::uint64_t(1) << count) - 1)); }
    void skipBuffered(int count)
    {
        m_buffer >>= count;
        m_available -= count;
        m_consumedBits += std::size_t(count);
    }

    // The next `count` bits (at most 32) without consuming them.
    std::uint32_t peek(int count)
    {
        ensure(count);
        return peekBuffered(count);
    }
    void skip(int count)
    {
        ensure(count);
        skipBuffered(count);
    }
    std::uint32_t take(int count)
    {
        const std::uint32_t bits = peek(count);
        skip(count);
        return bits;
    }
    void skipBytes(std::size_t bytes) { seek(m_consumedBits + bytes * 8); }
    void alignToByte() { seek((m_consumedBits + 7) / 8 * 8); }

private:
    // Tops the buffer up to at least 56 bits.
    void refill()
    {
        const std::size_t next = m_consumedBits + std::size_t(m_available); // the first bit not yet buffered
        std::size_t byte = next / 8;
        if (byte + 8 <= m_size) {
            std::uint64_t word;
            std::memcpy(&word, m_data + byte, 8);
            m_buffer |= word << m_available;
            const int added = (63 - m_available) / 8 * 8;
            m_available += added;
            return;
        }
        for (; m_available <= 56; m_available += 8, ++byte)
            m_buffer |= std::uint64_t(byte < m_size ? m_data[byte] : 0) << m_available;
    }
    void seek(std::size_t bit)
    {
        m_consumedBits = bit;
        m_buffer = 0;
        m_available = 0;
        const int within = int(bit % 8);
        m_consumedBits -= std::size_t(within);
        skip(within);
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_consumedBits = 0;
    std::uint64_t m_buffer = 0; // the next m_available bits, lowest first
    int m_available = 0;
};

// A canonical Huffman code. Codes up to `fastBits` long are decoded by one look-up of the next bits; the rare
// longer ones bit by bit from the counts per length (the way RFC 1951 defines the code).
class HuffmanTable {
public:
    bool build(const std::uint8_t* lengths, int symbolCount)
    {
        m_counts.fill(0);
        for (int s = 0; s < symbolCount; ++s)
            ++m_counts[lengths[s]];
        m_counts[0] = 0;
        int available = 1; // codes of the current length not yet taken: more taken than exist is no prefix code
        std::array<int, maxCodeLength + 2> offsets{};
        for (int length = 1; length <= maxCodeLength; ++length) {
            available = (available << 1) - m_counts[length];
            if (available < 0)
                return false;
            offsets[length + 1] = offsets[length] + m_counts[length];
        }
        m_symbols.resize(std::size_t(offsets[maxCodeLength + 1]));
        for (int s = 0; s < symbolCount; ++s)
            if (lengths[s] != 0)
                m_symbols[std::size_t(offsets[lengths[s]]++)] = std::uint16_t(s);

        m_fast.fill(0);
        std::uint32_t code = 0;
        std::size_t index = 0;
        for (int length = 1; length <= fastBits; ++length, code <<= 1) {
            for (int i = 0; i < m_counts[length]; ++i, ++code, ++index) {
                const std::uint32_t reversed = reverse(code, length);
                for (std::uint32_t entry = reversed; entry < m_fast.size(); entry += std::uint32_t(1) << length)
                    m_fast[entry] = std::uint16_t(m_symbols[index] << 4 | length);
            }
        }
        return true;
    }

    // The next symbol, or -1 when the bits start no code of this table.
    int decode(BitReader& reader) const
    {
        reader.ensure(maxCodeLength);
        return decodeBuffered(reader);
    }
    // The same when at least maxCodeLength bits are buffered.
    int decodeBuffered(BitReader& reader) const
    {
        const std::uint16_t entry = m_fast[reader.peekBuffered(fastBits)];
        if (entry != 0) {
            reader.skipBuffered(entry & 15);
            return entry >> 4;
        }
        int code = 0, first = 0, index = 0;
        for (int length = 1; length <= maxCodeLength; ++length) {
            code |= int(reader.peekBuffered(1));
            reader.skipBuffered(1);
            const int count = m_counts[length];
            if (code - first < count)
                return m_symbols[std::size_t(index + code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        return -1;
    }

private:
    static constexpr int fastBits = 10;

    static std::uint32_t reverse(std::uint32_t code, int length)
    {
        std::uint32_t result = 0;
        for (int i = 0; i < length; ++i, code >>= 1)
            result = result << 1 | (code & 1);
        return result;
    }

    std::array<int, maxCodeLength + 1> m_counts{};
    std::vector<std::uint16_t> m_symbols; // by code, shortest codes first
    std::array<std::uint16_t, 1 << fastBits> m_fast{};
};

constexpr std::array<std::uint8_t, 29> lengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint8_t, 30> distanceExtraBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Reads symbols up to the end of the block; every length is followed by its extra bits and a distance.
bool skipCompressedData(BitReader& reader, const HuffmanTable& literals, const HuffmanTable& distances)
{
    while (!reader.atEnd()) {
        const int symbol = literals.decode(reader);
        if (symbol < 0)
            return false;
        if (symbol < endOfBlock)
            continue;
        if (symbol == endOfBlock)
            return !reader.atEnd();
        const int lengthCode = symbol - 257;
        if (lengthCode >= int(lengthExtraBits.size()))
            return false;
        // Its extra bits, a distance code and the distance's extra bits take at most 5 + 15 + 13 bits.
        reader.ensure(33);
        reader.skipBuffered(lengthExtraBits[std::size_t(lengthCode)]);
        const int distanceCode = distances.decodeBuffered(reader);
        if (distanceCode < 0 || distanceCode >= int(distanceExtraBits.size()))
            return false;
        reader.skipBuffered(distanceExtraBits[std::size_t(distanceCode)]);
    }
    return false;
}

bool fixedTables(HuffmanTable& literals, HuffmanTable& distances)
{
    std::array<std::uint8_t, 288> literalLengths{};
    for (std::size_t s = 0; s < literalLengths.size(); ++s)
        literalLengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    std::array<std::uint8_t, 30> distanceLengths;
    distanceLengths.fill(5);
    return literals.build(literalLengths.data(), int(literalLengths.size()))
        && distances.build(distanceLengths.data(), int(distanceLengths.size()));
}

bool dynamicTables(BitReader& reader, HuffmanTable& literals, HuffmanTable& distances)
{
    static constexpr std::array<std::uint8_t, 19> order = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int literalCount = int(reader.take(5)) + 257;
    const int distanceCount = int(reader.take(5)) + 1;
    const int lengthCodeCount = int(reader.take(4)) + 4;
    std::array<std::uint8_t, 19> lengthCodeLengths{};
    for (int i = 0; i < lengthCodeCount; ++i)
        lengthCodeLengths[order[std::size_t(i)]] = std::uint8_t(reader.take(3));
    HuffmanTable lengthCodes;
    if (!lengthCodes.build(lengthCodeLengths.data(), int(lengthCodeLengths.size())))
        return false;

    std::array<std::uint8_t, 286 + 30> lengths{};
    const int total = literalCount + distanceCount;
    if (literalCount > 286 || distanceCount > 30)
        return false;
    for (int i = 0; i < total && !reader.atEnd();) {
        const int symbol = lengthCodes.decode(reader);
        int repeat = 1;
        std::uint8_t value = 0;
        if (symbol < 0) {
            return false;
        } else if (symbol < 16) {
            value = std::uint8_t(symbol);
        } else if (symbol == 16) {
            if (i == 0)
                return false;
            value = lengths[std::size_t(i - 1)];
            repeat = 3 + int(reader.take(2));
        } else {
            repeat = symbol == 17 ? 3 + int(reader.take(3)) : 11 + int(reader.take(7));
        }
        if (i + repeat > total)
            return false;
        for (; repeat > 0; --repeat)
            lengths[std::size_t(i++)] = value;
    }
    if (reader.atEnd() || lengths[endOfBlock] == 0)
        return false;
    return literals.build(lengths.data(), literalCount) && distances.build(lengths.data() + literalCount, distanceCount);
}

struct FinalBlock {
    std::size_t headerBit; // where the final block's header begins
    std::size_t endBit;    // the first bit after the stream
};

std::optional<FinalBlock> findFinalBlock(const std::uint8_t* data, std::size_t size)
{
    BitReader reader(data, size);
    HuffmanTable literals, distances;
    while (true) {
        const std::size_t header = reader.position();
        const bool final = reader.take(1) != 0;
        const std::uint32_t type = reader.take(2);
        if (reader.atEnd())
            return std::nullopt;
        if (type == 0) {
            reader.alignToByte();
            const std::uint32_t length = reader.take(16);
            const std::uint32_t complement = reader.take(16);
            if ((length ^ 0xffff) != complement)
                return std::nullopt;
            reader.skipBytes(length);
            if (reader.atEnd())
                return std::nullopt;
        } else {
            const bool tablesRead = type == 1 ? fixedTables(literals, distances)
                : type == 2                  ? dynamicTables(reader, literals, distances)
                                             : false;
            if (!tablesRead || !skipCompressedData(reader, literals, distances))
                return std::nullopt;
        }
        if (final)
            return FinalBlock{header, reader.position()};
    }
}

} // namespace

bool makeJoinable(std::vector<std::uint8_t>& stream)
{
    const std::optional<FinalBlock> block = findFinalBlock(stream.data(), stream.size());
    if (!block)
        return false;
    stream[block->headerBit / 8] &= std::uint8_t(~(1u << (block->headerBit % 8)));
    // The empty stored block: a header of three zero bits, zeros up to the byte boundary, then LEN 0 and NLEN.
    const std::size_t alignedEnd = (block->endBit + 3 + 7) / 8;
    stream.resize(alignedEnd, 0);
    if (block->endBit % 8 != 0)
        stream[block->endBit / 8] &= std::uint8_t((1u << (block->endBit % 8)) - 1);
    for (std::size_t byte = (block->endBit + 7) / 8; byte < alignedEnd; ++byte)
        stream[byte] = 0;
    const std::uint8_t emptyStoredLength[4] = {0x00, 0x00, 0xff, 0xff};
    stream.insert(stream.end(), std::begin(emptyStoredLength), std::end(emptyStoredLength));
    return true;
}

} // namespace lumivex::DeflateStreamJoin
