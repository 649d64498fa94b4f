// The menu, the About template and the About procedure, loaded from this test's own
// module, which links the program's resources.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/about_pictures.h"
#include "resource.h"

namespace modalscope {
namespace {

std::wstring menuText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

TEST(MenuAbout, MenuHasExitThenHelpWithAbout) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), "MY_MENU");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    EXPECT_EQ(menuText(menu, 0), L"\u0412\u044b\u0445\u043e\u0434"); // Выход
    EXPECT_EQ(GetMenuItemID(menu, 0), static_cast<UINT>(ID_EXIT));
    EXPECT_EQ(menuText(menu, 1), L"\u041f\u043e\u043c\u043e\u0449\u044c"); // Помощь
    HMENU help = GetSubMenu(menu, 1);
    ASSERT_NE(help, nullptr);
    ASSERT_EQ(GetMenuItemCount(help), 1);
    EXPECT_EQ(menuText(help, 0), L"\u041e Modalscope");
    EXPECT_EQ(GetMenuItemID(help, 0), static_cast<UINT>(ID_ABOUT));
    DestroyMenu(menu);
}

// The extended template's header, read straight from the resource.
TEST(MenuAbout, TemplateHeaderHasSizeFontAndStyle) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDD_ABOUT), MAKEINTRESOURCEW(5));
    ASSERT_NE(found, nullptr);
    const auto* words = static_cast<const WORD*>(LockResource(LoadResource(module, found)));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(words[0], 1);      // dlgVer
    EXPECT_EQ(words[1], 0xFFFF); // extended template
    DWORD style = 0;
    memcpy(&style, words + 6, sizeof(style));
    const DWORD expected =
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;
    EXPECT_EQ(style, expected);
    EXPECT_EQ(words[8], 7); // controls
    const short frame[4] = {static_cast<short>(words[9]), static_cast<short>(words[10]),
                            static_cast<short>(words[11]), static_cast<short>(words[12])};
    EXPECT_EQ(frame[0], 0);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 213);
    EXPECT_EQ(frame[3], 202);
    const WORD* p = words + 13;
    EXPECT_EQ(*p++, 0); // no menu
    EXPECT_EQ(*p++, 0); // default class
    const std::wstring title(reinterpret_cast<const wchar_t*>(p));
    EXPECT_EQ(title, L"\u041e Modalscope");
    p += title.size() + 1;
    EXPECT_EQ(p[0], 8);   // point size
    EXPECT_EQ(p[1], 400); // weight
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(p + 3)), L"MS Shell Dlg");
}

// Reads a dialog created from the template without running its modal loop.
TEST(MenuAbout, DialogTemplateHasCaptionControlsAndOneTabStop) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT),
                                     nullptr, aboutDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    wchar_t caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    EXPECT_EQ(std::wstring(caption), L"\u041e Modalscope");
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);

    HWND ok = GetDlgItem(dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    int children = 0;
    int tabStops = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ++children;
        tabStops += (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) ? 1 : 0;
    }
    EXPECT_EQ(children, 7);
    EXPECT_EQ(tabStops, 1);
    EXPECT_TRUE(GetWindowLongW(ok, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);

    // Escape's cancel command keeps the box; other commands too.
    EXPECT_EQ(aboutDialogProc(dialog, WM_COMMAND, IDCANCEL, 0), FALSE);
    EXPECT_EQ(aboutDialogProc(dialog, WM_COMMAND, 7, 0), FALSE);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(aboutDialogProc(dialog, WM_INITDIALOG, 0, 0), TRUE);
    DestroyWindow(dialog);
}

std::vector<HBITMAP> shownPictures(HWND dialog) {
    std::vector<HBITMAP> shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            shown.push_back(
                reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)));
        }
    }
    return shown;
}

// Two boxes with pictures for 144 and 192 pixels per inch show them 1.5 and 2 times as large.
// Each box deletes what it showed, the template's pictures included, and only that.
TEST(MenuAbout, ScaledPicturesBelongToTheirBox) {
    HWND boxes[2] = {};
    std::vector<HBITMAP> shown[2];
    for (int b = 0; b < 2; ++b) {
        boxes[b] = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT),
                                      nullptr, aboutDialogProc, 0);
        const std::vector<HBITMAP> templates = shownPictures(boxes[b]);
        scaleAboutPictures(boxes[b], GetModuleHandleW(nullptr), 144 + 48 * b);
        shown[b] = shownPictures(boxes[b]);
        ASSERT_EQ(shown[b].size(), 3u);
        for (int i = 0; i < 3; ++i) {
            BITMAP size = {};
            GetObjectW(shown[b][i], sizeof size, &size);
            EXPECT_EQ(size.bmWidth, (i == 0 ? 298 : 80) * (3 + b) / 2) << b << " " << i;
            EXPECT_EQ(GetObjectType(templates[i]), 0u) << b << " template " << i;
        }
    }
    for (int b = 0; b < 2; ++b) {
        DestroyWindow(boxes[b]);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(GetObjectType(shown[b][i]), 0u) << b << " " << i;
            EXPECT_EQ(GetObjectType(shown[1][i]), b == 0 ? DWORD{OBJ_BITMAP} : 0u);
        }
    }
}

// Moved to monitors of other scales after it opened, the box makes its pictures again for
// each: half their size at 48 pixels per inch, the shipped size back at 96. (Under Wine the
// box's font never grows, which caps the pictures above 96 at their shipped size.)
TEST(MenuAbout, PicturesFollowTheBoxsOwnScaleChanges) {
    HWND box = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr,
                                  aboutDialogProc, 0);
    ASSERT_NE(box, nullptr);
    for (int dpi : {48, 96}) {
        RECT suggested = {};
        GetWindowRect(box, &suggested);
        SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        MSG message;
        while (PeekMessageW(&message, box, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        const std::vector<HBITMAP> shown = shownPictures(box);
        ASSERT_EQ(shown.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            BITMAP size = {};
            GetObjectW(shown[i], sizeof size, &size);
            EXPECT_EQ(size.bmWidth, (i == 0 ? 298 : 80) * dpi / 96) << dpi << " " << i;
        }
    }
    DestroyWindow(box);
}

// OK and the close box end a real modal run with 0; a timer presses them from inside the
// box's own loop.
UINT_PTR pendingMessage = 0;
bool boxFoundByCaption = false;

void CALLBACK pressInBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowW(nullptr, L"\u041e Modalscope");
    boxFoundByCaption = box != nullptr;
    if (box == nullptr) {
        box = FindWindowW(L"#32770", nullptr); // a garbled caption: still end the run
    }
    // Cancel first: it must not close the box, so the following message is the one
    // that ends the run.
    SendMessageW(box, WM_COMMAND, IDCANCEL, 0);
    if (pendingMessage == WM_CLOSE) {
        SendMessageW(box, WM_CLOSE, 0, 0);
    } else {
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

TEST(MenuAbout, OkAndCloseEndTheModalRunWithZero) {
    for (UINT_PTR message : {static_cast<UINT_PTR>(WM_COMMAND), static_cast<UINT_PTR>(WM_CLOSE)}) {
        pendingMessage = message;
        SetTimer(nullptr, 0, 200, pressInBox);
        const INT_PTR result = DialogBoxParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, aboutDialogProc, 0);
        EXPECT_EQ(result, 0) << message;
        EXPECT_TRUE(boxFoundByCaption);
        EXPECT_EQ(FindWindowW(nullptr, L"\u041e Modalscope"), nullptr);
    }
}

// The program's own entry shows the Russian caption even on a non-Cyrillic code page.
TEST(MenuAbout, ProgramBoxKeepsItsRussianCaption) {
    if (GetACP() == 1251u) {
        GTEST_SKIP() << "the ANSI code page is 1251 (Cyrillic); the caption is only at risk "
                        "under another one";
    }
    pendingMessage = WM_COMMAND;
    boxFoundByCaption = false;
    SetTimer(nullptr, 0, 200, pressInBox);
    runAboutDialog(GetModuleHandleW(nullptr));
    EXPECT_TRUE(boxFoundByCaption);
}

// The program's box runs in an activation context of its own (the exe's About manifest,
// Common Controls 6), in which the window system has loaded comctl32 for its controls;
// the process manifest does not ask for them (checked on the exe's resources).
bool contextInBox = false;
bool commonControlsInBox = false;

void CALLBACK closeAfterLookingAtContext(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HANDLE context = nullptr;
    contextInBox = GetCurrentActCtx(&context) && context != nullptr;
    if (context != nullptr) {
        ReleaseActCtx(context);
    }
    commonControlsInBox = GetModuleHandleW(L"comctl32.dll") != nullptr;
    if (HWND box = FindWindowW(nullptr, L"\u041e Modalscope")) {
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

TEST(MenuAbout, ProgramBoxRunsWithCommonControls6) {
    SetTimer(nullptr, 0, 200, closeAfterLookingAtContext);
    runAboutDialog(GetModuleHandleW(nullptr));
    EXPECT_TRUE(contextInBox);
    EXPECT_TRUE(commonControlsInBox);
    HANDLE after = nullptr;
    EXPECT_TRUE(GetCurrentActCtx(&after) && after == nullptr) << "deactivated after the box";
}

} // namespace
} // namespace modalscope
