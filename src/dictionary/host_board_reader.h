// Boards the host terminal keeps, read from the answers of its data function
// (the host's data-function contract of docs/data.md). Every read is bounded
// by the bytes the host says it wrote, whatever counts the answer announces.
#ifndef ORBE_SRC_DICTIONARY_HOST_BOARD_READER_H_
#define ORBE_SRC_DICTIONARY_HOST_BOARD_READER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/host/host_callbacks.h"
#include "orbe/host/host_records.h"

namespace orbe {

inline constexpr unsigned char kOwnCodeList = 0;
inline constexpr unsigned char kHoldingsCodeList = 1;

// Concept and custom board entries are read as their 6-digit code.
inline constexpr std::size_t kBoardStockCodeLength = 6;

// The host's answer to a request: a size query, then a fetch into a zeroed
// buffer kHostAnswerSlack bytes longer than announced. Only the bytes the fetch reports
// (never more than the buffer) are kept; empty without a function or answer.
std::string FetchHostAnswer(DataFuncProc dataFunc, int code, unsigned char firstByte);

// A board-set answer (107, 110, 111). Code entries are cut to codeLength
// bytes (0 keeps the whole entry); empty entries are left out.
std::vector<HostBoard> ParseBoardSet(std::string_view answer, std::size_t codeLength);
// A code-list answer (134): the A-share codes in the host's order.
std::vector<std::string> ParseAShareCodeList(std::string_view answer);

// The two boards of the concept answer (110) that are not concepts.
bool IsNonConceptBoard(std::string_view name);

// Whole reads against one data function.
std::vector<std::string> ReadConceptBoardNames(DataFuncProc dataFunc);
// The codes of the first board of that name in the answer to code.
std::vector<std::string> ReadBoardCodes(DataFuncProc dataFunc, int code, std::string_view boardName,
                                        std::size_t codeLength);
std::vector<std::string> ReadAShareCodeList(DataFuncProc dataFunc, unsigned char listNumber);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_HOST_BOARD_READER_H_
