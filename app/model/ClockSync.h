#pragma once
// "Synchronize ZRN clock to PC": what one clock reply does to the request.
// A device that refuses the clock command, or a daylight-saving fold that keeps
// the two clocks an hour apart, would otherwise pause and resume its sampling
// on every reply for ever.

#include <cstdint>

namespace zrn {

inline constexpr int MAX_SYNC_ATTEMPTS = 5;

enum class SyncAction {
    None,   // no request, clocks apart
    Agreed, // the clocks agree to the second: the request is done
    Send,   // send the PC time once more
    GiveUp, // sent MAX_SYNC_ATTEMPTS times without agreement
};

inline SyncAction NextSyncAction(bool bSyncToPc, int nSyncAttempts, std::int64_t tPc,
                                 std::int64_t tZrn) {
    if (tPc == tZrn)
        return SyncAction::Agreed;
    if (!bSyncToPc)
        return SyncAction::None;
    return nSyncAttempts < MAX_SYNC_ATTEMPTS ? SyncAction::Send : SyncAction::GiveUp;
}

} // namespace zrn
