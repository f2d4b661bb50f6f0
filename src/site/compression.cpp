// zlib: deflate and inflate for the store, gzip for answers.
#include "site/compression.h"

#include <zlib.h>

#include <memory>

std::string deflated(std::string_view bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
              static_cast<uLong>(bytes.size()), 6);
    out.resize(size);
    return out;
}

std::optional<std::string> inflated(std::string_view bytes, size_t limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, decltype(&inflateEnd)> owned(&stream, inflateEnd);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    std::string out;
    char piece[65536];
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(piece);
        stream.avail_out = sizeof piece;
        const int status = inflate(&stream, Z_NO_FLUSH);
        out.append(piece, sizeof piece - stream.avail_out);
        if (out.size() > limit || (status != Z_OK && status != Z_STREAM_END)) {
            return std::nullopt;
        }
        if (status == Z_STREAM_END) {
            return out;
        }
    }
}

std::string gzipped(const std::string& bytes) {
    z_stream stream{};
    // 15 + 16: a gzip wrapper around the deflate stream.
    if (deflateInit2(&stream, 5, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        return {};
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return status == Z_STREAM_END ? out : std::string();
}
