// The main window's creation steps; see main_start.h.
#include "platform/c_file.h"
#include "ui/main_start.h"

#include <cstdio>
#include <memory>
#include <string>

#include "library/new_songbook.h"
#include "platform/save_files.h"
#include "ui/desk_texts.h"
#include "ui/profile_keys.h"
#include "ui/resource.h"
#include "ui/win_controls.h"

namespace lyro {

namespace {

bool can_open_for_reading(const std::string& path) {
    return open_c_file(path, "rb") != nullptr;
}

// At a first start, offers to create the songbook with its example song.
// Returns false when the program is to end.
bool make_sure_of_songbook(DeskState& state, HWND window) {
    const std::string path = state.files.songbook();
    if (can_open_for_reading(path)) return true;
    MessageBeep(0xFFFFFFFF);
    if (!ask_yes_no(window, texts::kFirstStart, texts::kAboutCaption)) return false;
    SystemFiles system;
    const CreateResult result = create_songbook(system, state.files);
    if (result != CreateResult::not_written && can_open_for_reading(path)) return true;
    // Going on without a songbook would leave every function of the
    // library dialog empty: say what failed, and where, and end in order.
    std::string folder = state.files.dir.string();
    if (folder == ".") folder = current_folder();
    std::string text = std::string(texts::kCreateFailed) + "\r";
    text += create_message(CreateResult::not_written);
    text += "\r\rFolder: " + folder + texts::kCreateFailedEnd;
    tell(window, text, texts::kCreateFailedCaption, MB_ICONERROR);
    return false;
}

}  // namespace

void show_spelling(const DeskState& state, HWND window) {
    const bool by_key = state.viewer.spelling == Spelling::by_key;
    CheckMenuItem(GetMenu(window), IDM_SPELL_BY_KEY,
                  MF_BYCOMMAND | static_cast<UINT>(by_key ? MF_CHECKED : MF_UNCHECKED));
}

bool start_main_window(DeskState& state, HWND window) {
    state.windows.main = window;
    if (SetTimer(window, POLL_TIMER_ID, POLL_TIMER_MS, nullptr) == 0) {
        tell(window, texts::kTimerError, texts::kTimerErrorCaption, MB_TASKMODAL);
    }
    if (!make_sure_of_songbook(state, window)) return false;
    state.viewer.font_choice = can_open_for_reading("C:\\Windows\\Fonts\\Vera.ttf") ? 1 : 0;
    state.viewer.spelling = read_spelling(*state.profile);
    show_spelling(state, window);
    announce_start(*state.profile);
    // Asked for last: a message box above runs its own message loop, which
    // would open the library dialog while the songbook offer is still
    // unanswered, or after it was refused.
    PostMessageA(window, WM_COMMAND, IDM_SONGLIST, 0);
    return true;
}

}  // namespace lyro
