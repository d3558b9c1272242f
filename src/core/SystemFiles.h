// modHALK: MAIN.CFG, NETWORKS.LST, NET.<n>, CONTROL.DAT, DBSEQ.DAT, STATHBRD.DAT.
#pragma once

#include "Board.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesto {

MainConfig GetMainCfg(const Board& b, std::int16_t& status);
// fields is re-made with the eight fields of the network's line (number, type, name,
// real-name addressing, four more), empty when not found; true when it was found.
bool GetNetworkInfo(const Board& b, std::int16_t network, std::vector<std::string>& fields, std::int16_t& status);
std::string GetNetEntry(const Board& b, std::int16_t network, std::string_view key, std::int16_t& status);
NodeRecord GetNode(const Board& b, std::int16_t node, std::int16_t& status);
std::int32_t GetSeqNum(const Board& b, std::int16_t& status);
StatHbrdRecord GetStatHbrdDat(const Board& b, std::int16_t& status);
void PutStatHbrdDat(const Board& b, const StatHbrdRecord& rec, std::int16_t& status);

// The board's own system id: SYSTEMID of network 1, trimmed, "0" when empty.
std::string OwnSystemId(const Board& b);
// Trimmed name (field 3) of a network in NETWORKS.LST, "Unknown" when empty.
std::string NetworkName(const Board& b, std::int16_t network);

} // namespace kesto
