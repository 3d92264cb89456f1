// The resources that the program carries: menu, accelerator table, dialog templates, icon and
// version, read back from the test program's own resources (it links the same script).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/shell.h"

namespace {

HINSTANCE Module() {
    return GetModuleHandleA(nullptr);
}

// ---- Menu ----

struct MenuItem {
    const char* text;  // nullptr for a separator
    UINT id;
    bool checked;
};

struct Popup {
    const char* text;
    std::vector<MenuItem> items;
};

const Popup kMenu[] = {
    {"&Options",
     {{"&Color Bits\tCtrl+C", IDM_COLOR, true},
      {"&Shade FP Exponent\tCtrl+S", IDM_SHADE, true},
      {nullptr, 0, false},
      {"Shift in &0's\tCtrl+0", IDM_SHIFT0, true},
      {"Shift in &1's\tCtrl+1", IDM_SHIFT1, false},
      {"&Logical Shift\tCtrl+L", IDM_ROTATE, false},
      {nullptr, 0, false},
      {"&Error Boxes\tCtrl+E", IDM_ERRORBOXES, true},
      {"&Report\tCtrl+R", IDM_REPORT, false},
      {nullptr, 0, false},
      {"E&xit\tF12", IDM_EXIT, false}}},
    {"&Data Type",
     {{"&ANSI Character\tF5", IDM_ANSI, false},
      {"&OEM Character\tF6", IDM_OEM, false},
      {nullptr, 0, false},
      {"&Signed Integer\tF7", IDM_SIGNED, true},
      {"&Unsigned Integer\tF8", IDM_UNSIGNED, false},
      {nullptr, 0, false},
      {"Floating-Point &Real\tF9", IDM_REAL, false}}},
    {"&Help",
     {{"&Contents\tF1", IDM_HELPCONTENTS, false},
      {"&Search for Help On...", IDM_HELPSEARCH, false},
      {"&How to Use Help", IDM_HELPONHELP, false},
      {nullptr, 0, false},
      {"&About Corvane...", IDM_ABOUT, false}}},
};

struct ItemInfo {
    std::string text;
    UINT id;
    UINT type;
    UINT state;
};

ItemInfo ReadItem(HMENU menu, int position) {
    char text[128] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info));
    return {text, info.wID, info.fType, info.fState};
}

TEST(ResourcesTest, MenuHasEveryItemInOrderWithItsStartingCheckMarks) {
    HMENU menu = LoadMenuA(Module(), "CV_MENU");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    for (int p = 0; p < 3; ++p) {
        const Popup& popup = kMenu[p];
        SCOPED_TRACE(popup.text);
        EXPECT_EQ(ReadItem(menu, p).text, popup.text);
        HMENU sub = GetSubMenu(menu, p);
        ASSERT_NE(sub, nullptr);
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(popup.items.size()));
        for (size_t i = 0; i < popup.items.size(); ++i) {
            const MenuItem& expected = popup.items[i];
            const ItemInfo item = ReadItem(sub, static_cast<int>(i));
            SCOPED_TRACE(i);
            if (expected.text == nullptr) {
                EXPECT_NE(item.type & MFT_SEPARATOR, 0u);
                continue;
            }
            EXPECT_EQ(item.type & MFT_SEPARATOR, 0u);
            EXPECT_EQ(item.text, expected.text);
            EXPECT_EQ(item.id, expected.id);
            EXPECT_EQ((item.state & MFS_CHECKED) != 0, expected.checked);
            EXPECT_EQ(item.state & MFS_DISABLED, 0u) << "no item is ever disabled";
        }
    }
    DestroyMenu(menu);
}

// ---- Accelerators ----

TEST(ResourcesTest, AcceleratorTableHasItsEntriesInOrder) {
    const BYTE kCtrl = FVIRTKEY | FCONTROL;
    const BYTE kAltKey = FVIRTKEY | FALT;
    const BYTE kAltChar = FALT;  // the character typed with Alt held, whatever key gives it
    const ACCEL expected[] = {
        {kCtrl, 'C', IDM_COLOR},
        {kCtrl, 'S', IDM_SHADE},
        {kCtrl, '0', IDM_SHIFT0},
        {kCtrl, '1', IDM_SHIFT1},
        {kCtrl, 'L', IDM_ROTATE},
        {kCtrl, 'E', IDM_ERRORBOXES},
        {kCtrl, 'R', IDM_REPORT},
        {kAltKey, 'V', IDM_FOCUSVALUE},
        {kAltKey, 'X', IDM_FOCUSHEX},
        {kAltKey, 'B', IDM_FOCUSBYTES},
        {kAltChar, '<', IDM_KEYSHIFTL},
        {kAltChar, '>', IDM_KEYSHIFTR},
        {kAltChar, ',', IDM_KEYSHIFTL},
        {kAltChar, '.', IDM_KEYSHIFTR},
        {kAltKey, '0', IDM_KEYZEROS},
        {kAltKey, '1', IDM_KEYONES},
        {kAltKey, 'F', IDM_KEYFLIP},
        {kAltKey, VK_RETURN, IDM_FOCUSBITS},
        {FVIRTKEY, VK_F1, IDM_HELPCONTENTS},
        {FVIRTKEY, VK_F5, IDM_ANSI},
        {FVIRTKEY, VK_F6, IDM_OEM},
        {FVIRTKEY, VK_F7, IDM_SIGNED},
        {FVIRTKEY, VK_F8, IDM_UNSIGNED},
        {FVIRTKEY, VK_F9, IDM_REAL},
        {FVIRTKEY, VK_F12, IDM_EXIT},
    };
    HACCEL table = LoadAcceleratorsA(Module(), "CV_ACCELS");
    ASSERT_NE(table, nullptr);
    const int count = CopyAcceleratorTableA(table, nullptr, 0);
    ASSERT_EQ(count, static_cast<int>(sizeof expected / sizeof expected[0]));
    std::vector<ACCEL> entries(static_cast<size_t>(count));
    CopyAcceleratorTableA(table, entries.data(), count);
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        EXPECT_EQ(entries[i].fVirt & 0x7F, expected[i].fVirt);
        EXPECT_EQ(entries[i].key, expected[i].key);
        EXPECT_EQ(entries[i].cmd, expected[i].cmd);
    }
}

// ---- Dialog templates ----

// A DLGTEMPLATE (the DIALOG format) read field by field.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : data_(data) {}
    DWORD Dword() {
        DWORD value;
        std::memcpy(&value, data_ + offset_, sizeof value);
        offset_ += sizeof value;
        return value;
    }
    short Word() {
        short value;
        std::memcpy(&value, data_ + offset_, sizeof value);
        offset_ += sizeof value;
        return value;
    }
    // A string or an ordinal (0xFFFF then the number, given as "#number").
    std::string NameOrOrdinal() {
        const WORD first = static_cast<WORD>(Word());
        if (first == 0xFFFF) return "#" + std::to_string(static_cast<WORD>(Word()));
        std::string text;
        for (WORD c = first; c != 0; c = static_cast<WORD>(Word())) text += static_cast<char>(c);
        return text;
    }
    void AlignToDword() { offset_ = (offset_ + 3) & ~static_cast<size_t>(3); }

private:
    const BYTE* data_;
    size_t offset_ = 0;
};

struct ItemTemplate {
    DWORD style;
    DWORD extendedStyle;
    short x, y, cx, cy;
    WORD id;
    std::string className;  // "#128" button, "#129" edit, "#130" static
    std::string text;
    bool operator==(const ItemTemplate& o) const {
        return style == o.style && extendedStyle == o.extendedStyle && x == o.x && y == o.y && cx == o.cx &&
               cy == o.cy && id == o.id && className == o.className && text == o.text;
    }
};

std::ostream& operator<<(std::ostream& out, const ItemTemplate& item) {
    return out << std::hex << item.style << " " << item.extendedStyle << std::dec << " (" << item.x << ", "
               << item.y << ", " << item.cx << ", " << item.cy << ") id " << item.id << " " << item.className
               << " \"" << item.text << "\"";
}

struct DialogTemplate {
    DWORD style;
    DWORD extendedStyle;
    short x, y, cx, cy;
    std::string menu, className, caption;
    short pointSize = 0;
    std::string font;
    std::vector<ItemTemplate> items;
};

DialogTemplate ReadDialog(const char* name) {
    DialogTemplate dialog = {};
    HRSRC resource = FindResourceA(Module(), name, reinterpret_cast<LPCSTR>(RT_DIALOG));
    EXPECT_NE(resource, nullptr) << name;
    if (resource == nullptr) return dialog;
    TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(Module(), resource))));
    dialog.style = reader.Dword();
    dialog.extendedStyle = reader.Dword();
    const int count = reader.Word();
    dialog.x = reader.Word();
    dialog.y = reader.Word();
    dialog.cx = reader.Word();
    dialog.cy = reader.Word();
    dialog.menu = reader.NameOrOrdinal();
    dialog.className = reader.NameOrOrdinal();
    dialog.caption = reader.NameOrOrdinal();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.pointSize = reader.Word();
        dialog.font = reader.NameOrOrdinal();
    }
    for (int i = 0; i < count; ++i) {
        reader.AlignToDword();
        ItemTemplate item = {};
        item.style = reader.Dword();
        item.extendedStyle = reader.Dword();
        item.x = reader.Word();
        item.y = reader.Word();
        item.cx = reader.Word();
        item.cy = reader.Word();
        item.id = static_cast<WORD>(reader.Word());
        item.className = reader.NameOrOrdinal();
        item.text = reader.NameOrOrdinal();
        const int extra = reader.Word();
        for (int b = 0; b < extra; b += 2) reader.Word();
        dialog.items.push_back(item);
    }
    return dialog;
}

TEST(ResourcesTest, InformationDialogTemplateUsesTheSystemFont) {
    const DialogTemplate dialog = ReadDialog("InfoDlgBox");
    EXPECT_EQ(dialog.style, 0x80C80000u);
    EXPECT_EQ(dialog.style & DS_SETFONT, 0u);
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ(dialog.x, 10);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 200);
    EXPECT_EQ(dialog.cy, 104);
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.className, "");
    EXPECT_EQ(dialog.caption, "");
    const std::vector<ItemTemplate> expected = {
        {0x50010001, 0, 70, 80, 60, 16, IDOK, "#128", "OK"},
        {0x50810804, 0, 8, 8, 184, 64, IDC_INFOTEXT, "#129", ""},
    };
    EXPECT_EQ(dialog.items, expected);
}

TEST(ResourcesTest, AboutDialogTemplateHasNoCaptionAndItsOwnFont) {
    const DialogTemplate dialog = ReadDialog("AboutDlgBox");
    EXPECT_EQ(dialog.style, 0x800000C0u);
    EXPECT_EQ(dialog.extendedStyle, 0u);
    EXPECT_EQ(dialog.x, 40);
    EXPECT_EQ(dialog.y, 2);
    EXPECT_EQ(dialog.cx, 200);
    EXPECT_EQ(dialog.cy, 85);
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.caption, "");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.font, "MS Sans Serif");
    const WORD noId = 0xFFFF;
    const std::vector<ItemTemplate> expected = {
        {0x50000003, 0, 8, 8, 18, 20, noId, "#130", "BASEICON"},
        {0x50020000, 0, 32, 12, 160, 8, noId, "#130", "Corvane"},
        {0x50020000, 0, 8, 28, 160, 8, noId, "#130", "Version 1.1"},
        {0x50030001, 0, 50, 64, 40, 12, IDOK, "#128", "OK"},
    };
    EXPECT_EQ(dialog.items, expected);
}

// ---- Icon and version ----

TEST(ResourcesTest, IconComesInLargeAndSmallSizes) {
    for (int size : {32, 16}) {
        HANDLE icon = LoadImageA(Module(), "BASEICON", IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}

// Whether the UTF-16 text occurs in the resource data.
bool ContainsWide(const BYTE* data, size_t size, const char* text) {
    std::string wide;
    for (const char* c = text; *c != '\0'; ++c) {
        wide += *c;
        wide += '\0';
    }
    return std::string(reinterpret_cast<const char*>(data), size).find(wide) != std::string::npos;
}

TEST(ResourcesTest, VersionResourceSaysOnePointOne) {
    HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_VERSION));
    ASSERT_NE(resource, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(Module(), resource)));
    const size_t size = SizeofResource(Module(), resource);
    // VS_FIXEDFILEINFO follows its signature.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const DWORD signature = 0xFEEF04BD;
    const size_t at = bytes.find(std::string(reinterpret_cast<const char*>(&signature), sizeof signature));
    ASSERT_NE(at, std::string::npos);
    VS_FIXEDFILEINFO fixed;
    ASSERT_LE(at + sizeof fixed, size);
    std::memcpy(&fixed, data + at, sizeof fixed);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_TRUE(ContainsWide(data, size, "ProductName"));
    EXPECT_TRUE(ContainsWide(data, size, "Corvane"));
    EXPECT_TRUE(ContainsWide(data, size, "1.1"));
}

}  // namespace
