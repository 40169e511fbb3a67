// The string ids of korvane-51.exe's messages (res/korvane51.rc).
#pragma once

namespace mcs51 {

#define IDS_RUN51_USAGE 100
#define IDS_RUN51_BAD_CYCLES 101
#define IDS_RUN51_CANNOT_OPEN 102
#define IDS_RUN51_NOT_HEX 103
#define IDS_RUN51_CHECKSUM 104
#define IDS_RUN51_TRUNCATED 105
#define IDS_RUN51_BEYOND 106
#define IDS_RUN51_RECORD_TYPE 107
#define IDS_RUN51_TOO_LARGE 108
#define IDS_RUN51_BAD_OBSERVE 109
#define IDS_RUN51_BAD_BOARD 110
#define IDS_RUN51_BAD_PRESS 111
#define IDS_RUN51_UNKNOWN_KEY 112

}  // namespace mcs51
