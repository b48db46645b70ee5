// Tooltips for a window's controls, painted or real: the control is made on
// first need (the common controls cost start-up time), in the system's tip
// font at the window's DPI, and follows a DPI or text-size change; a tip's
// text is asked for when it shows.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/handles_win32.h"

namespace mivra {

// Where a tip belongs: a real child control, or where a label is painted.
struct TipTool {
    UINT_PTR id = 0;        // the window's own name for it
    HWND control = nullptr; // a real control follows its own window, or
    RECT rect{};            // the label's client pixels
};

// The window's side.
class TipSource {
public:
    virtual std::vector<TipTool> TipTools() const = 0;
    // Valid until the next message: the tip shows it.
    virtual const wchar_t* TipText(UINT_PTR id) const = 0;
    virtual int TipDpi() const = 0;

protected:
    ~TipSource() = default;
};

class WindowTips {
public:
    explicit WindowTips(TipSource& source) : source_(source) {}
    WindowTips(const WindowTips&) = delete;
    WindowTips& operator=(const WindowTips&) = delete;

    // The owner passes every message through here first. The first show or
    // pointer move makes the control (none when there are no tools); the
    // texts are answered; a new text size takes a new font. True when the
    // message was answered (result holds the answer).
    bool Handle(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // After the owner's DPI changed: the tip font for it, the tools moved.
    void DpiChanged();
    // Null until first needed.
    HWND Control() const { return tips_; }

private:
    void Ensure(HWND owner);
    void SetFont();
    // Adds the tools (TTM_ADDTOOLW) or moves them (TTM_NEWTOOLRECTW).
    void Send(UINT message);

    TipSource& source_;
    HWND owner_ = nullptr;
    HWND tips_ = nullptr;
    bool failed_ = false; // not tried again at every pointer move
    UniqueFont font_;
    std::vector<TipTool> tools_;
};

} // namespace mivra
