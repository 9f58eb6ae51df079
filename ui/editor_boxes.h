// The song editor's boxes on the real controls: the title box (4022), the
// key box (4005) and the text box (4017) of the BOOK dialog.
#pragma once

#include <windows.h>

#include <string>

#include "library/editor_boxes.h"

namespace lyro {

// What a save reads from the editor. Both boxes are fetched whole when the
// object is made, so that one save works on one text however long it is.
class WinEditorBoxes final : public EditorBoxes {
public:
    explicit WinEditorBoxes(HWND editor);
    std::string title_text() const override { return text_.title_text(); }
    std::string key_text() const override { return text_.key_text(); }
    std::size_t line_count() const override { return text_.line_count(); }
    std::string line(std::size_t index) const override { return text_.line(index); }

private:
    EditorText text_;
};

// Lets the text box take a song of any length, and the title box no more
// characters than a save keeps of a title.
void set_editor_limits(HWND editor);

// Puts a title into the title box, and a song's lines (joined by CR LF)
// into the text box.
void show_editor_title(HWND editor, const std::string& title);
void show_editor_key(HWND editor, const std::string& key);
void show_editor_text(HWND editor, const std::string& text);

}  // namespace lyro
