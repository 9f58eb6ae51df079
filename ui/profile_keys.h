// songdesk's use of the shared profile section: TERMINATE at start and
// exit, and the SONGREQUEST key that the timer polls.
#pragma once

#include "platform/profile_store.h"
#include "remote/song_request.h"

namespace lyro {

// The start withdraws a stop request left from an earlier run.
inline void announce_start(ProfileStore& profile) { profile.write_string(kTerminateKey, "0"); }

// The exit asks the server to stop after the next connection it serves.
inline void announce_exit(ProfileStore& profile) { profile.write_string(kTerminateKey, "1"); }

class ProfileRequestKey final : public RequestKey {
public:
    explicit ProfileRequestKey(ProfileStore& profile) : profile_(profile) {}
    int read() override { return profile_.read_int(kSongRequestKey, 0); }
    void reset() override { profile_.write_string(kSongRequestKey, "0"); }

private:
    ProfileStore& profile_;
};

}  // namespace lyro
