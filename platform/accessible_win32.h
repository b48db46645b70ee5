// What a screen reader sees of a window whose controls are painted by the
// window itself: an IAccessible for the client area whose children are the
// painted items (and any real child windows among them), handed out through
// WM_GETOBJECT. Everything else stays with the system's standard objects.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/handles_win32.h"

namespace mivra {

// One item as a reader sees it.
struct AccessibleItem {
    std::wstring name;
    std::wstring description;
    long role = ROLE_SYSTEM_STATICTEXT;
    long state = 0;        // STATE_SYSTEM_* flags
    RECT bounds{};         // client pixels, exactly where the item is painted
    std::wstring action;   // the default action's name; empty for none
    HWND window = nullptr; // a real child window: readers get its own object
};

// The window's side: its items in reading order (item i is child id i + 1).
class AccessibleContent {
public:
    virtual int ItemCount() const = 0;
    virtual AccessibleItem Item(int index) const = 0;
    // The item that takes the mouse at a client pixel, or -1.
    virtual int ItemAt(POINT client) const = 0;
    // The default action, run from the window's own message queue.
    virtual void Press(int index) = 0;
    // The selected item, or -1.
    virtual int SelectedItem() const { return -1; }

protected:
    ~AccessibleContent() = default;
};

// Serves one window's accessible object. The window passes every message
// through Handle first; a reader's object outlives the window harmlessly
// (it answers "disconnected" once the window is gone).
class WindowAccessibility {
public:
    explicit WindowAccessibility(AccessibleContent& content) : content_(content) {}
    ~WindowAccessibility() { Disconnect(); }
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // True when the message was answered here (result holds the answer).
    bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // After the items changed: a name or state change event for each item
    // that differs from what a reader was last shown. Costs nothing until a
    // reader has asked for the object.
    void ItemsChanged();

private:
    class Object;
    void Disconnect();
    void Remember();

    AccessibleContent& content_;
    HWND hwnd_ = nullptr;
    Object* object_ = nullptr;
    std::optional<ComScope> com_;
    struct Seen {
        std::wstring name;
        long state;
    };
    std::vector<Seen> seen_;
};

} // namespace mivra
