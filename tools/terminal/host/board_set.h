// The board-set layout of the data function's answers 107, 110 and 111: a
// count byte, 20-byte names, signed 16-bit code counts, then 15-byte codes.
#ifndef ORBE_TOOLS_TERMINAL_HOST_BOARD_SET_H_
#define ORBE_TOOLS_TERMINAL_HOST_BOARD_SET_H_

#include <string>
#include <string_view>
#include <vector>

#include "orbe/host/host_records.h"

namespace orbe {

// Boards past the hundredth and codes past a board's 32767th are left out,
// since the layout cannot count them; a name is cut to 19 bytes on a
// character boundary.
std::string EncodeBoardSet(const std::vector<HostBoard>& boards);
// The boards of an answer; a truncated or inconsistent answer yields the
// boards that are complete in it.
std::vector<HostBoard> DecodeBoardSet(std::string_view bytes);

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_BOARD_SET_H_
