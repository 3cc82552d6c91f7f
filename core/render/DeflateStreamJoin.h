#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumivex::DeflateStreamJoin {

// Turns a complete raw deflate stream (RFC 1951) into one that another stream may follow: its final block loses
// the final mark and an empty stored block aligns the end to a byte, exactly what zlib's sync flush writes. Pieces
// compressed on their own (each without the history of the one before) then concatenate into one valid stream,
// so a whole-buffer compressor such as libdeflate can work on bands of one image in parallel.
//
// The blocks are walked by decoding their Huffman codes (the data itself is not produced), so that the final
// block's header is found. False, and the stream left as it was, when it is not valid deflate or ends early.
bool makeJoinable(std::vector<std::uint8_t>& stream);

} // namespace lumivex::DeflateStreamJoin
