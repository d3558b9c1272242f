// modHALK: MAIN.CFG, NETWORKS.LST, NET.<n>, CONTROL.DAT, DBSEQ.DAT, STATHBRD.DAT.
//
// Every failure is written to the error log under the routine's name before it is
// returned. A missing NETWORKS.LST or NET.<n> is no failure: it holds no network.
#pragma once

#include "Board.h"
#include "Result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesto {

// The eight fields of a NETWORKS.LST line: number, type, name, real-name addressing
// (1 when the network addresses users by real name), and four more.
using NetworkFields = std::array<std::string, 8>;

Result<MainConfig> GetMainCfg(const Board& b);
// The fields of the first line whose number has the value `network`; nothing when
// no line has it.
Result<std::optional<NetworkFields>> GetNetworkInfo(const Board& b, std::int16_t network);
// The trimmed value of `key` (letter case ignored) in NET.<network>; empty when missing.
Result<std::string> GetNetEntry(const Board& b, std::int16_t network, std::string_view key);
// Node n is record n + 1 of CONTROL.DAT; past its end nobody is on line.
Result<NodeRecord> GetNode(const Board& b, std::int16_t node);
// The next message serial number, stored back at once: 2 up to 3999999, then 1 again.
Result<std::int32_t> GetSeqNum(const Board& b);
Result<StatHbrdRecord> GetStatHbrdDat(const Board& b);
Result<void> PutStatHbrdDat(const Board& b, const StatHbrdRecord& rec);
// One more on both message counters, read and written back under a lock that other
// copies of Kesto respect. Read and write failures are logged as those of
// GetStatHbrdDat and PutStatHbrdDat and cost the message nothing. A lock not had in
// time (logged as PutStatHbrdDat's) and a counter at its limit (unlogged) fail it.
Result<void> AddToStatHbrdDat(const Board& b);

// The board's own system id: SYSTEMID of network 1, trimmed, "0" when empty.
std::string OwnSystemId(const Board& b);
// Trimmed name (field 3) of a network in NETWORKS.LST, "Unknown" when empty.
std::string NetworkName(const Board& b, std::int16_t network);

} // namespace kesto
