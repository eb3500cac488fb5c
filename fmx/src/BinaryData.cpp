#include "fmx/BinaryData.h"

#include <cstring>
#include <limits>

#include "fmx/Exceptions.h"

namespace fmx {

namespace {
constexpr errcode kBadRange = 1;
}  // namespace

int32 BinaryData::GetCount() const { return static_cast<int32>(streams_.size()); }

int32 BinaryData::GetIndex(const QuadChar& type) const {
    for (std::size_t i = 0; i < streams_.size(); ++i) {
        if (streams_[i].type == type) return static_cast<int32>(i);
    }
    return -1;
}

// Saturates rather than wrapping, so a huge container never reports itself as small.
uint32 BinaryData::GetTotalSize() const {
    uint64_t total = 0;
    for (const Stream& s : streams_) total += s.bytes.size();
    constexpr uint64_t kMax = std::numeric_limits<uint32>::max();
    return static_cast<uint32>(total > kMax ? kMax : total);
}

void BinaryData::GetType(int32 index, QuadChar& type) const {
    if (index < 0 || static_cast<std::size_t>(index) >= streams_.size()) return;
    type = streams_[static_cast<std::size_t>(index)].type;
}

uint32 BinaryData::GetSize(int32 index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= streams_.size()) return 0;
    return static_cast<uint32>(streams_[static_cast<std::size_t>(index)].bytes.size());
}

errcode BinaryData::GetData(int32 index, uint32 offset, uint32 amount, void* buffer) const {
    checkFailure("BinaryData::GetData");
    if (index < 0 || static_cast<std::size_t>(index) >= streams_.size()) return kBadRange;
    const auto& bytes = streams_[static_cast<std::size_t>(index)].bytes;
    // Compared without adding, so that offset + amount cannot wrap around.
    if (offset > bytes.size() || amount > bytes.size() - offset) return kBadRange;
    if (amount == 0) return 0;
    if (buffer == nullptr) return kBadRange;
    std::memcpy(buffer, bytes.data() + offset, amount);
    return 0;
}

errcode BinaryData::Add(const QuadChar& type, uint32 amount, const void* buffer) {
    checkFailure("BinaryData::Add");
    if (amount > 0 && buffer == nullptr) return kBadRange;
    Stream stream{type, {}};
    if (amount > 0) {
        const auto* first = static_cast<const unsigned char*>(buffer);
        stream.bytes.assign(first, first + amount);
    }
    streams_.push_back(std::move(stream));
    return 0;
}

// Removes every stream of `type`; answers whether there was one.
bool BinaryData::Remove(const QuadChar& type) {
    const auto before = streams_.size();
    std::erase_if(streams_, [&](const Stream& s) { return s.type == type; });
    return streams_.size() != before;
}

void BinaryData::RemoveAll() { streams_.clear(); }

}  // namespace fmx
