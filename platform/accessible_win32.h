// What a screen reader sees of a window whose controls are painted by the
// window itself: an IAccessible for the client area whose children are the
// painted items (and any real child windows among them), handed out through
// WM_GETOBJECT. Everything else stays with the system's standard objects.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace mivra {

// The system's standard object for a window's client area; tests stand in
// for it with one that cannot be made.
inline HRESULT(WINAPI* createStdAccessible)(HWND, LONG, REFIID, void**) = CreateStdAccessibleObject;

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

// Serves the accessible object of one window at a time: a window that is
// destroyed and made again (the options window, the picker) gets a new one.
// The window passes every message through Handle first. A reader's object
// outlives the window harmlessly: from WM_DESTROY on it answers
// "disconnected", and at WM_NCDESTROY the window lets go of it.
class WindowAccessibility {
public:
    explicit WindowAccessibility(AccessibleContent& content) : content_(content) {}
    ~WindowAccessibility() { Release(); }
    WindowAccessibility(const WindowAccessibility&) = delete;
    WindowAccessibility& operator=(const WindowAccessibility&) = delete;

    // True when the message was answered here (result holds the answer).
    bool Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // After the items changed: a name or state change event for each item
    // that differs from what a reader was last shown. Costs nothing until a
    // reader has asked for the object.
    void ItemsChanged();
    // After the items moved without the window telling the system (a DPI
    // change re-lays them out): a location change for the client area and
    // each item. Costs nothing until a reader has asked for the object.
    void LocationsChanged();

private:
    class Object;
    bool Listening() const;
    void Release();
    void Remember();

    AccessibleContent& content_;
    HWND hwnd_ = nullptr; // the window the object serves
    Object* object_ = nullptr;
    bool destroying_ = false; // between WM_DESTROY and WM_NCDESTROY
    struct Seen {
        std::wstring name;
        long state;
    };
    std::vector<Seen> seen_;
};

} // namespace mivra
