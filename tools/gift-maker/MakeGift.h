#pragma once

#include "MakeOptions.h"

#include <cstdint>
#include <ostream>
#include <span>

namespace zg::maker {

/// The seed a gift gets when none is asked for: the 32-bit FNV-1a hash of the
/// picture file's bytes, so the same picture always gives the same cut.
uint32_t seedFromPicture(std::span<const uint8_t> picture);

/// Makes the gift: copies the bare player, appends the picture, the music (if
/// any) and the trailer, and marks the result executable. The gift is written
/// to a temporary file beside the output and renamed over it at the end, so
/// on any error no output file is left behind. A picture taken turned is
/// stored upright and one larger than `options.maxSide` scaled down (both
/// re-encoded); each such change is told on `out`.
/// @throws ToolError with a message for the user: unreadable files, a picture
///         that does not decode or cannot be cut into the requested pieces,
///         music that is no MIDI file, texts that do not fit their field or
///         have no Windows-1252 form (naming the option), a player that
///         already carries a gift, or a failed write.
void makeGift(const MakeOptions& options, std::ostream& out);

} // namespace zg::maker
