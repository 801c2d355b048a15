// The owners' rules on real handles: destroyed at scope end and on reset, moved without a
// second destruction, never destroyed when borrowed or let go; a selection put back.
#include <gtest/gtest.h>

#include <windows.h>

#include "owned_handle.h"

namespace {

using owners::Owned;

// One kind's rules, with a maker of fresh handles and a check that one is still alive. Each
// check runs before the next handle is made, since a destroyed value may come back.
template <class Kind>
void CheckOwnerRules(typename Kind::Value (*make)(), bool (*alive)(typename Kind::Value))
{
    using Owner = Owned<Kind>;
    auto scoped = make();
    ASSERT_TRUE(alive(scoped));
    {
        Owner held(scoped);
        EXPECT_TRUE(held);
        EXPECT_EQ(held.Get(), scoped);
    }
    EXPECT_FALSE(alive(scoped)) << "destroyed at scope end";

    auto first = make(), second = make();
    {
        Owner held(first);
        held.Reset(second);
        EXPECT_FALSE(alive(first)) << "reset destroys what was held";
        EXPECT_TRUE(alive(second));
        held.Reset();
        EXPECT_FALSE(alive(second));
        EXPECT_FALSE(held);
    }

    auto moved = make();
    {
        Owner from(moved);
        Owner to(std::move(from));
        EXPECT_FALSE(from);
        EXPECT_EQ(to.Get(), moved);
        { Owner last = std::move(to); }
        EXPECT_FALSE(alive(moved)) << "the last owner destroys it";
    }

    auto target = make(), source = make();
    {
        Owner assigned(target), from(source);
        assigned = std::move(from);
        EXPECT_FALSE(alive(target)) << "assignment destroys what the target held";
        EXPECT_TRUE(alive(source));
    }
    EXPECT_FALSE(alive(source));

    auto lent = make();
    {
        Owner owner(lent);
        {
            Owner borrowed = Owner::Borrow(lent);
            Owner carried(std::move(borrowed));
            EXPECT_TRUE(carried.IsBorrowed());
            carried.Reset();
        }
        EXPECT_TRUE(alive(lent)) << "a borrowed handle is never destroyed";
        {
            Owner taken(owner.Release());
            EXPECT_FALSE(owner);
        }
        EXPECT_FALSE(alive(lent)) << "a released handle belongs to whoever took it";
    }
}

HANDLE MakeEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }
bool HandleAlive(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

HKEY OpenSoftwareKey()
{
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}
bool KeyAlive(HKEY key)
{
    DWORD subkeys = 0;
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
}

HBRUSH MakeBrush() { return CreateSolidBrush(RGB(1, 2, 3)); }
bool GdiAlive(HBRUSH brush) { return GetObjectType(brush) == OBJ_BRUSH; }

HDC MakeDc() { return CreateCompatibleDC(nullptr); }
bool DcAlive(HDC dc) { return GetObjectType(dc) == OBJ_MEMDC; }

HMENU MakeMenu() { return CreatePopupMenu(); }
bool MenuAlive(HMENU menu) { return IsMenu(menu) != FALSE; }

HICON MakeIcon()
{
    BYTE andMask[32 * 4], xorMask[32 * 4];
    FillMemory(andMask, sizeof andMask, 0xFF);
    ZeroMemory(xorMask, sizeof xorMask);
    return CreateIcon(GetModuleHandleW(nullptr), 32, 32, 1, 1, andMask, xorMask);
}
bool IconAlive(HICON icon)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    owners::OwnedGdi<HBITMAP> mask(info.hbmMask), colour(info.hbmColor);
    return true;
}

TEST(OwnedHandle, EachKindIsDestroyedOnceByItsLastOwnerAndNeverWhenBorrowed)
{
    {
        SCOPED_TRACE("kernel handle");
        CheckOwnerRules<owners::KernelHandleKind>(MakeEvent, HandleAlive);
    }
    {
        SCOPED_TRACE("registry key");
        CheckOwnerRules<owners::RegistryKeyKind>(OpenSoftwareKey, KeyAlive);
    }
    {
        SCOPED_TRACE("GDI object");
        CheckOwnerRules<owners::GdiObjectKind<HBRUSH>>(MakeBrush, GdiAlive);
    }
    {
        SCOPED_TRACE("device context made");
        CheckOwnerRules<owners::MadeDcKind>(MakeDc, DcAlive);
    }
    {
        SCOPED_TRACE("menu");
        CheckOwnerRules<owners::MenuKind>(MakeMenu, MenuAlive);
    }
    {
        SCOPED_TRACE("icon");
        CheckOwnerRules<owners::IconKind>(MakeIcon, IconAlive);
    }
}

TEST(OwnedHandle, AFileThatDidNotOpenHoldsNothing)
{
    owners::OwnedHandle file(CreateFileW(L"C:\\no such folder\\none.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(file.Get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(file);
}

TEST(OwnedHandle, ReceiveHandsTheCallAnEmptyPlace)
{
    owners::OwnedKey key(OpenSoftwareKey());
    HKEY before = key.Get();
    ASSERT_TRUE(KeyAlive(before));
    HKEY* place = key.Receive();
    EXPECT_FALSE(KeyAlive(before)) << "the key held before goes first";
    EXPECT_EQ(*place, nullptr);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, place), ERROR_SUCCESS);
    EXPECT_TRUE(KeyAlive(key.Get()));
}

int g_hookCalls = 0;
LRESULT CALLBACK CountingHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        ++g_hookCalls;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CreateAndDestroyWindow()
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    DestroyWindow(window);
}

TEST(OwnedHandle, AHookIsCalledOnlyWhileItsOwnerLives)
{
    g_hookCalls = 0;
    {
        owners::OwnedHook hook(SetWindowsHookExW(WH_CBT, CountingHook, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        CreateAndDestroyWindow();
        EXPECT_GT(g_hookCalls, 0);
    }
    const int hooked = g_hookCalls;
    CreateAndDestroyWindow();
    EXPECT_EQ(g_hookCalls, hooked) << "unhooked at scope end";
}

TEST(OwnedHandle, ADeviceContextGotIsGivenBackToItsWindow)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    HDC got = nullptr;
    {
        owners::OwnedGotDc moved;
        {
            owners::OwnedGotDc dc = owners::GetOwnedDc(window);
            ASSERT_TRUE(dc);
            got = dc.Get();
            moved = std::move(dc);
        }
        EXPECT_EQ(GetObjectType(got), static_cast<DWORD>(OBJ_DC));
        EXPECT_EQ(WindowFromDC(got), window) << "still out while its owner lives";
    }
    EXPECT_NE(WindowFromDC(got), window) << "given back at scope end";
    DestroyWindow(window);
}

TEST(GdiSelection, PutsThePreviousObjectBackAtScopeEnd)
{
    owners::OwnedMadeDc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    owners::OwnedGdi<HBITMAP> first(CreateCompatibleBitmap(dc.Get(), 4, 4));
    owners::OwnedGdi<HBITMAP> second(CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(first && second);
    {
        owners::GdiSelection outer(dc.Get(), first.Get());
        EXPECT_TRUE(outer.IsSelected());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), first.Get());
        {
            owners::GdiSelection inner(dc.Get(), second.Get());
            EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), second.Get());
        }
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), first.Get());
        owners::GdiSelection none(dc.Get(), nullptr);
        EXPECT_FALSE(none.IsSelected());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
}

}  // namespace
