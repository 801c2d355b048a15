#pragma once
// Owners of Windows handles: a move-only handle with a deleter per kind, and a GDI selection
// that puts the previous object back at scope end.
//
//   owners::OwnedKey key;                                    // closed at scope end
//   if (RegOpenKeyExW(root, name, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
//       return;
//   owners::OwnedGdi<HBRUSH> brush(CreateSolidBrush(color));
//   owners::GdiSelection chosen(dc, brush.Get());            // before the brush goes
//   auto icon = owners::OwnedIcon::Borrow(LoadIconW(...));   // shared: never destroyed
//   if (SetWindowRgn(window, region.Get(), TRUE))
//       (void)region.Release();                              // the window has it now
//
// A kind names the handle's type, says which values hold nothing and destroys a held one. A
// kind with state (the window a device context was got from) travels inside its handle.
#include <windows.h>

#include <utility>

namespace owners {

template <class Kind>
class Owned : private Kind {
public:
    using Value = typename Kind::Value;

    Owned() noexcept = default;
    explicit Owned(Value value, Kind kind = Kind()) noexcept : Kind(kind), value_(value) {}
    // A handle someone else destroys (a shared icon, a stock object): held, never destroyed.
    [[nodiscard]] static Owned Borrow(Value value, Kind kind = Kind()) noexcept
    {
        Owned borrowed(value, kind);
        borrowed.borrowed_ = true;
        return borrowed;
    }
    ~Owned() { Drop(); }

    Owned(Owned&& other) noexcept
        : Kind(other), value_(std::exchange(other.value_, Kind::Empty())),
          borrowed_(std::exchange(other.borrowed_, false))
    {
    }
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other) {
            Drop();
            Kind::operator=(other);
            value_ = std::exchange(other.value_, Kind::Empty());
            borrowed_ = std::exchange(other.borrowed_, false);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Value Get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return Kind::IsHeld(value_); }
    bool IsBorrowed() const noexcept { return borrowed_; }

    // Destroys what is held (unless borrowed), then holds value as its own.
    void Reset(Value value = Kind::Empty()) noexcept
    {
        Drop();
        value_ = value;
    }
    // Lets the value go to whoever takes it over, destroying nothing.
    [[nodiscard]] Value Release() noexcept
    {
        borrowed_ = false;
        return std::exchange(value_, Kind::Empty());
    }
    // For a call that writes the handle out: what was held goes, and the call writes here.
    [[nodiscard]] Value* Receive() noexcept
    {
        Reset();
        return &value_;
    }

private:
    // The value is let go before it is destroyed, so a callback during destruction finds none.
    void Drop() noexcept
    {
        Value value = std::exchange(value_, Kind::Empty());
        bool borrowed = std::exchange(borrowed_, false);
        if (!borrowed && Kind::IsHeld(value))
            Kind::Destroy(value);
    }

    Value value_ = Kind::Empty();
    bool borrowed_ = false;
};

// The kinds whose empty value is null.
template <class T>
struct NullIsEmpty {
    using Value = T;
    static constexpr T Empty() noexcept { return nullptr; }
    static bool IsHeld(T value) noexcept { return value != nullptr; }
};

// Kernel objects: files (INVALID_HANDLE_VALUE when none), processes, threads, events...
struct KernelHandleKind : NullIsEmpty<HANDLE> {
    static bool IsHeld(HANDLE value) noexcept { return value != nullptr && value != INVALID_HANDLE_VALUE; }
    static void Destroy(HANDLE value) noexcept { CloseHandle(value); }
};

// Keys we opened or created; the predefined roots need no owner.
struct RegistryKeyKind : NullIsEmpty<HKEY> {
    static void Destroy(HKEY value) noexcept { RegCloseKey(value); }
};

// Pens, brushes, fonts, bitmaps, regions, palettes. Not while selected into a device context:
// declare the GdiSelection after the object, so it ends first.
template <class T = HGDIOBJ>
struct GdiObjectKind : NullIsEmpty<T> {
    static void Destroy(T value) noexcept { DeleteObject(value); }
};

// Device contexts made with CreateCompatibleDC or CreateDCW.
struct MadeDcKind : NullIsEmpty<HDC> {
    static void Destroy(HDC value) noexcept { DeleteDC(value); }
};

// Device contexts got with GetDC or GetWindowDC, given back to their window.
struct GotDcKind : NullIsEmpty<HDC> {
    HWND window = nullptr;
    void Destroy(HDC value) const noexcept { ReleaseDC(window, value); }
};

struct HookKind : NullIsEmpty<HHOOK> {
    static void Destroy(HHOOK value) noexcept { UnhookWindowsHookEx(value); }
};

// Menus no window holds: a window destroys its own menu bar.
struct MenuKind : NullIsEmpty<HMENU> {
    static void Destroy(HMENU value) noexcept { DestroyMenu(value); }
};

// Icons that are ours: LoadImageW without LR_SHARED, CreateIconIndirect. LoadIconW and
// LR_SHARED icons are the system's: Borrow them.
struct IconKind : NullIsEmpty<HICON> {
    static void Destroy(HICON value) noexcept { DestroyIcon(value); }
};

using OwnedHandle = Owned<KernelHandleKind>;
using OwnedKey = Owned<RegistryKeyKind>;
template <class T = HGDIOBJ>
using OwnedGdi = Owned<GdiObjectKind<T>>;
using OwnedMadeDc = Owned<MadeDcKind>;
using OwnedGotDc = Owned<GotDcKind>;
using OwnedHook = Owned<HookKind>;
using OwnedMenu = Owned<MenuKind>;
using OwnedIcon = Owned<IconKind>;

// The device context of a window (null: the screen), given back at scope end.
[[nodiscard]] inline OwnedGotDc GetOwnedDc(HWND window)
{
    GotDcKind kind;
    kind.window = window;
    return OwnedGotDc(GetDC(window), kind);
}

// An object selected into a device context while this lives; the one it replaced goes back
// at scope end. Nothing is selected for a null object. Not for regions (SelectClipRgn).
class GdiSelection {
public:
    GdiSelection(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~GdiSelection()
    {
        if (IsSelected())
            SelectObject(dc_, previous_);
    }
    GdiSelection(const GdiSelection&) = delete;
    GdiSelection& operator=(const GdiSelection&) = delete;

    bool IsSelected() const noexcept { return previous_ != nullptr && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint and EndPaint of one WM_PAINT; EndPaint runs even when no device context came.
class WindowPaint {
public:
    explicit WindowPaint(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~WindowPaint() { EndPaint(window_, &paint_); }
    WindowPaint(const WindowPaint&) = delete;
    WindowPaint& operator=(const WindowPaint&) = delete;

    HDC Dc() const noexcept { return dc_; }
    const PAINTSTRUCT& Paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};

}  // namespace owners
