// The records of an enhanced metafile that a skin can use, each checked
// against its own size and the state of the playback before it: what is not
// on the list is refused, not played. Portable.
#pragma once

#include "toolkit/base/ByteReader.h"
#include "toolkit/pictures/MetafilePlayback.h"

#include <cstdint>

namespace tk {

// The record (its type and size fields included) may be played after those
// before it, which `playback` follows; it then holds the record's effect.
bool playableEnhancedRecord(const ByteReader& record, std::uint32_t type,
                            MetafilePlayback& playback);

} // namespace tk
