// songdesk's use of the shared profile section: TERMINATE at start and
// exit, the SONGREQUEST key that the timer polls, and the user's choice of
// sharps and flats.
#pragma once

#include "platform/profile_store.h"
#include "remote/song_request.h"
#include "transpose/transpose_song.h"

namespace lyro {

// The start withdraws a stop request left from an earlier run.
inline void announce_start(ProfileStore& profile) { profile.write_string(kTerminateKey, "0"); }

// The exit asks the server to stop after the next connection it serves.
inline void announce_exit(ProfileStore& profile) { profile.write_string(kTerminateKey, "1"); }

// "1" when chords are spelled with the sharps or flats of their key.
inline constexpr std::string_view kSpellingKey = "SPELLING";

inline Spelling read_spelling(const ProfileStore& profile) {
    return profile.read_int(kSpellingKey, 0) == 1 ? Spelling::by_key : Spelling::fixed;
}

inline void write_spelling(ProfileStore& profile, Spelling spelling) {
    profile.write_string(kSpellingKey, spelling == Spelling::by_key ? "1" : "0");
}

class ProfileRequestKey final : public RequestKey {
public:
    explicit ProfileRequestKey(ProfileStore& profile) : profile_(profile) {}
    int read() override { return profile_.read_int(kSongRequestKey, 0); }
    void reset() override { profile_.write_string(kSongRequestKey, "0"); }

private:
    ProfileStore& profile_;
};

}  // namespace lyro
