#pragma once
// The bytes of a picture file that its decoder needs, read once and handed
// on: what the header check then judges and the decoder decodes, so that
// neither sees anything the other did not, and the cost follows the
// picture, not the file's length.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/picture_header.h"
#include "platform/picture_reader.h"

namespace platform {

// The longest run of bytes beside a picture's parts that is passed over:
// real files hold at most a few kilobytes of padding or junk between parts.
constexpr uint64_t kMaxStrayBytes = 64 * 1024;
// The most extension bytes a GIF may hold before its first frame, and the
// most APPn and COM segments a JPEG may hold: both are walked, not decoded.
constexpr uint64_t kMaxGifExtensionBytes = 16 * 1024 * 1024;
constexpr uint32_t kMaxSkippedParts = 65536;

// Takes the next chosen bytes; false stops the copy.
using PictureSink = std::function<bool(const uint8_t* data, size_t n)>;

// Hands on, in order, what the decoder of the format that the first bytes
// tell needs of the file:
// - PNG: the signature and its critical chunks and tRNS up to IEND; the
//   other chunks are passed over by their length without being read;
// - GIF: the header, the global colour table, the last graphic control
//   extension before the first frame, the first frame and a trailer;
// - JPEG: its segments and scans up to the end of the picture, less the APPn
//   segments other than APP0 (JFIF) and APP14 (Adobe) and less COM, fill
//   bytes and stray bytes between segments;
// - BMP and ICO: the file up to the end of the last part its headers place,
//   at most what the pixels they declare can take.
// Fits once copied (a file cut short is handed on as far as it goes);
// UnknownFormat; TooLarge for a declared size that is not allowed; Padded
// when stray bytes, extensions or passed-over parts run longer than real
// files hold, or the data longer than its pixels can take; Broken for a PNG
// chunk that claims more than 2^31 - 1 bytes or more than the file holds,
// or when `out` fails.
PictureHeader::Verdict copyPicture(const PictureBytes& in, const PictureSink& out);

}  // namespace platform
