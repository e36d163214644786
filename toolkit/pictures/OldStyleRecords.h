// The records of an old-style metafile that a skin can use, each checked
// against its own size and the state of the playback before it: what is not
// on the list is refused, not played. Portable.
#pragma once

#include "toolkit/base/ByteReader.h"
#include "toolkit/pictures/MetafilePlayback.h"

#include <cstdint>

namespace tk {

// The record (its size and function fields included) may be played after
// those before it, which `playback` follows; it then holds the record's
// effect.
bool playableOldStyleRecord(const ByteReader& record, std::uint16_t function,
                            MetafilePlayback& playback);

} // namespace tk
