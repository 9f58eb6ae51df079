// The texts and captions that songdesk shows in its message boxes, kept
// together so that every box says exactly the same thing wherever it is
// shown from. A '\r' breaks the line.
#pragma once

namespace lyro::texts {

inline constexpr const char* kMainClass = "MainClass";
inline constexpr const char* kMainTitle = "KVD MUSIC Book";

inline constexpr const char* kTimerError =
    "Unable to Start  Timer\rToo many Windows applications are using systems timers\r"
    "This Software requires a Minimum of one timer (#3) in\rorder to handle Remote Control "
    "Access.\r\rPlease Exit this application, then close some other\rApplications and try "
    "again.";
inline constexpr const char* kTimerErrorCaption = "CRITICAL ERROR";

inline constexpr const char* kAboutCaption = "ABOUT Lyrovant";
inline constexpr const char* kAbout =
    "Lyrovant - KVD MUSIC Book\rVersion 1.05\r\r"
    "Free to use and to copy for worship, rehearsal and teaching.\r"
    "It comes with no warranty of any kind.\r\r"
    "Please keep a backup copy of your songbook file SONGBOOK.LYR.";
inline constexpr const char* kFirstStart =
    "Lyrovant - KVD MUSIC Book\rVersion 1.05\r\r"
    "Free to use and to copy for worship, rehearsal and teaching.\r"
    "It comes with no warranty of any kind.\r\r"
    "There is no songbook file SONGBOOK.LYR in this folder yet.\r"
    "Create one with an example song?";
inline constexpr const char* kCreateFailed = "Could Not Create Songbook";
inline constexpr const char* kCreateFailedEnd = "\r\rThe program will now end.";
inline constexpr const char* kCreateFailedCaption = "CRITICAL ERROR";

inline constexpr const char* kVersion = "Version 1.06 - Updated 24-November-2014";
inline constexpr const char* kVersionCaption = "VERSION";
inline constexpr const char* kSetup = "Not Implemented";
inline constexpr const char* kSetupCaption = "MESSAGE";
inline constexpr const char* kIpCaption = "IP Address";
inline constexpr const char* kFolderCaption = "FOLDER LOCATION";

inline constexpr const char* kListChangedExit =
    "You have changed the Songlist.\rAre you sure you wish to exit program?";
inline constexpr const char* kListChangedClose =
    "You have changed the Songlist.\rAre you sure you wish to exit screen?";
inline constexpr const char* kListChangedCaption = "Songbook";

inline constexpr const char* kHelpCaption = "Lyrovant Help";
inline constexpr const char* kHelp =
    "Functions on left deal with single song\rThose are EDIT and REVIEW\r"
    "You may choose a title and click CHOOSE and the name will transfer\r"
    "to the songlist.  The songlist can be executed using RUN.\r"
    "During RUN, the key changes will be memorized and ready when you\r"
    "come back to it from rehearsal to performance\r"
    "The songlist may be saved from the LIST menu under SAVE LIST.\r"
    "It can be retrieved by clicking LOAD LIST\r"
    "If you choose a new list from scratch and hit SAVE LIST it will write\r"
    "over the old list\rThis current version only stores one list.\r"
    "Later versions will allow more\rFor this version, you will have to choose songs in order";

}  // namespace lyro::texts
