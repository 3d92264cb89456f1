// What the two edit boxes themselves do with typed, deleted and pasted text before the edit
// control sees it: a text that would not fit the box is refused whole or edited here, so that the
// main window always judges exactly the edit the user made.
#include <cstdlib>
#include <cstring>

#include "engine/box_edit.h"
#include "shell/shell.h"

namespace cv {

namespace {

// The longest text either box takes as one edit.
constexpr size_t kLongestEdit =
    kMaxValueTextLength > kMaxHexTextLength ? kMaxValueTextLength : kMaxHexTextLength;

// The box's text limit: the most characters it holds.
size_t TextLimit(HWND edit) {
    return edit == ValueBox ? kMaxValueTextLength : kMaxHexTextLength;
}

// Whether text (a C string, or none) is longer than limit, without reading past limit + 1.
bool LongerThan(const char* text, size_t limit) {
    if (text == nullptr) return false;
    for (size_t i = 0; i <= limit; ++i) {
        if (text[i] == '\0') return false;
    }
    return true;
}

// Width in pixels of text in the edit box's font.
int TextWidth(HWND edit, const char* text, size_t length) {
    HDC dc = GetDC(edit);
    HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(length), &extent);
    SelectObject(dc, previousFont);
    ReleaseDC(edit, dc);
    return extent.cx;
}

// Whether text would show whole within the box's formatting rectangle.
bool FitsWidth(HWND edit, const char* text, size_t length) {
    RECT format{};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return TextWidth(edit, text, length) <= format.right - format.left;
}

// The whole text of a box, with room for one character more. Typed texts fit the fixed buffer; a
// longer one (set from outside with WM_SETTEXT) is read into memory of its own.
class BoxText {
public:
    explicit BoxText(HWND edit) {
        const size_t length = static_cast<size_t>(GetWindowTextLengthA(edit));
        size_t capacity = length + 2;
        if (capacity > sizeof fixed_) text_ = static_cast<char*>(std::malloc(capacity));
        if (text_ == nullptr) {
            text_ = fixed_;
            capacity = sizeof fixed_;
        }
        length_ = static_cast<size_t>(GetWindowTextA(edit, text_, static_cast<int>(capacity - 1)));
    }
    ~BoxText() {
        if (text_ != fixed_) std::free(text_);
    }
    BoxText(const BoxText&) = delete;
    BoxText& operator=(const BoxText&) = delete;

    const char* Text() const { return text_; }
    size_t Length() const { return length_; }
    // Characters start..end replaced by at most one character.
    void Replace(size_t start, size_t end, const char* inserted, size_t insertedLength) {
        std::memmove(text_ + start + insertedLength, text_ + end, length_ - end + 1);
        if (insertedLength != 0) std::memcpy(text_ + start, inserted, insertedLength);
        length_ = length_ - (end - start) + insertedLength;
    }

private:
    char fixed_[2 * kLongestEdit];
    char* text_ = nullptr;
    size_t length_ = 0;
};

// The box's selection, kept within a text of the given length.
void GetSelection(HWND edit, size_t length, DWORD* start, DWORD* end) {
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(start), reinterpret_cast<LPARAM>(end));
    if (*start > length) *start = static_cast<DWORD>(length);
    if (*end > length) *end = static_cast<DWORD>(length);
    if (*end < *start) *end = *start;
}

// The line a paste inserts: the clipboard's text up to its first line break, as a single-line
// box takes it. Its length is measured first: a line longer than any box takes is not copied
// (it cannot fit), only its length told. False when the clipboard holds no text.
bool ClipboardLine(HWND edit, char (&line)[kLongestEdit + 1], size_t* length) {
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(edit)) return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
        *length = std::strcspn(text, "\n");
        if (*length > 0 && text[*length] == '\n' && text[*length - 1] == '\r') --*length;
        if (*length <= kLongestEdit) std::memcpy(line, text, *length);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text != nullptr;
}

// Whether replacing the selection with inserted leaves a text that the box can hold and show
// whole. The length is tested first, so a huge insertion costs nothing to refuse.
bool InsertionFits(HWND edit, const char* inserted, size_t insertedLength) {
    const BoxText text(edit);
    DWORD start = 0, end = 0;
    GetSelection(edit, text.Length(), &start, &end);
    const size_t limit = TextLimit(edit);
    const size_t kept = text.Length() - (end - start);
    if (kept + insertedLength > limit) return false;
    char result[kLongestEdit + 1];
    std::memcpy(result, text.Text(), start);
    std::memcpy(result + start, inserted, insertedLength);
    std::memcpy(result + start + insertedLength, text.Text() + end, text.Length() - end);
    return FitsWidth(edit, result, kept + insertedLength);
}

}  // namespace

bool TypedCharacterFits(HWND edit, WPARAM character) {
    BoxText text(edit);
    DWORD start = 0, end = 0;
    GetSelection(edit, text.Length(), &start, &end);
    const char typed = static_cast<char>(character);
    text.Replace(start, end, &typed, 1);
    return FitsWidth(edit, text.Text(), text.Length());
}

LRESULT DeleteFromText(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, bool backspace) {
    BoxText text(edit);
    if (FitsWidth(edit, text.Text(), text.Length())) {
        return CallWindowProcA(SavedEditProc, edit, message, wParam, lParam);
    }
    DWORD start = 0, end = 0;
    GetSelection(edit, text.Length(), &start, &end);
    if (start == end) {
        if (backspace && start == 0) return 0;
        if (!backspace && end == text.Length()) return 0;
        if (backspace) {
            --start;
        } else {
            ++end;
        }
    }
    text.Replace(start, end, nullptr, 0);
    SetWindowTextA(edit, text.Text());
    SendMessageA(edit, EM_SETSEL, start, start);
    return 0;
}

LRESULT InsertIfItFits(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    bool fits = true;
    if (message == WM_PASTE) {
        char line[kLongestEdit + 1];
        size_t length = 0;
        if (ClipboardLine(edit, line, &length)) fits = InsertionFits(edit, line, length);
    } else if (lParam != 0) {
        const char* inserted = reinterpret_cast<const char*>(lParam);
        fits = InsertionFits(edit, inserted, std::strlen(inserted));
    }
    if (!fits) {
        CurrentAlerts().Beep();
        return 0;
    }
    return CallWindowProcA(SavedEditProc, edit, message, wParam, lParam);
}

LRESULT SetTextIfItFits(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    // EditArmed is cleared before each of the program's own texts; those pass untouched.
    if (EditArmed != 0 && LongerThan(reinterpret_cast<const char*>(lParam), TextLimit(edit))) {
        CurrentAlerts().Beep();
        return FALSE;
    }
    return CallWindowProcA(SavedEditProc, edit, message, wParam, lParam);
}

}  // namespace cv
