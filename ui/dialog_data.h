// The one way songdesk's dialogs keep their data. Each dialog is a data
// struct, a procedure and an opener: the opener owns the struct for as long
// as the dialog runs and hands it over with run_dialog; the procedure keeps
// it on WM_INITDIALOG and finds it again on every later message. The
// dialog's DWLP_USER slot holds a DialogSlot that names the struct's type,
// so a lookup of one dialog's struct in another dialog finds nothing.
#pragma once

#include <windows.h>

namespace lyro {

struct DialogSlot {
    const void* kind;  // &kDialogKind<Data>: one address per data type
    void* data;
};

template <typename Data>
inline constexpr char kDialogKind = 0;

// The opener's part: runs the dialog of template `name` modally above
// `owner` with `data` as its own struct. Returns DialogBoxParamA's result.
template <typename Data>
INT_PTR run_dialog(HINSTANCE instance, const char* name, HWND owner, DLGPROC proc, Data& data) {
    DialogSlot slot{&kDialogKind<Data>, &data};
    return DialogBoxParamA(instance, name, owner, proc, reinterpret_cast<LPARAM>(&slot));
}

// WM_INITDIALOG's part: keeps the slot that run_dialog passed and returns
// the dialog's struct.
template <typename Data>
Data& keep_dialog_data(HWND dialog, LPARAM param) {
    SetWindowLongPtrA(dialog, DWLP_USER, param);
    return *static_cast<Data*>(reinterpret_cast<DialogSlot*>(param)->data);
}

// Every later message's part: the dialog's struct, or nullptr before
// WM_INITDIALOG and in a dialog whose struct is of another type.
template <typename Data>
Data* dialog_data(HWND dialog) {
    const auto* slot = reinterpret_cast<const DialogSlot*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (slot == nullptr || slot->kind != &kDialogKind<Data>) return nullptr;
    return static_cast<Data*>(slot->data);
}

}  // namespace lyro
