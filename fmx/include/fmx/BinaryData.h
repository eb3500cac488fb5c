// A container value: several typed streams, each a four-character type and its bytes, as a
// real host keeps them (a file stream such as "PNGf" or "JPEG", its name "FNAM", its size
// "SIZE", a thumbnail ...).
#pragma once

#include <vector>

#include "fmx/QuadChar.h"
#include "fmx/Types.h"

namespace fmx {

class BinaryData {
public:
    int32 GetCount() const;
    // Index of the first stream of `type`, or -1.
    int32 GetIndex(const QuadChar& type) const;
    uint32 GetTotalSize() const;
    void GetType(int32 index, QuadChar& type) const;
    // Byte size of stream `index`; 0 for an index out of range.
    uint32 GetSize(int32 index) const;
    // Copies `amount` bytes from `offset` of stream `index` into `buffer`. Answers 0, or a
    // non-zero code (and copies nothing) when the index or the range is outside the stream.
    errcode GetData(int32 index, uint32 offset, uint32 amount, void* buffer) const;

    // Appends a stream. Answers 0.
    errcode Add(const QuadChar& type, uint32 amount, const void* buffer);
    bool Remove(const QuadChar& type);
    void RemoveAll();

private:
    struct Stream {
        QuadChar type;
        std::vector<unsigned char> bytes;
    };
    std::vector<Stream> streams_;
};

}  // namespace fmx
