// Base of property pages: bound through PROPSHEETPAGE.lParam, data exchanged on entering and leaving.
#include "property_page.h"

#include <cstring>
#include <exception>

#include "handler_error.h"
#include "property_sheet.h"

namespace {

// The system lays out a property sheet, and converts its pages' sizes, in
// the dialog units of this font. A page shown in another font would not fit
// the room the sheet made for it, so every page is shown in this one.
const wchar_t kSheetFontFace[] = L"MS Shell Dlg";
const WORD kSheetFontPoints = 8;

// Skips a name-or-ordinal field of a dialog template (menu, class): 0x0000
// alone, 0xFFFF and an ordinal, or a NUL-terminated UTF-16 string.
const WORD* SkipNameOrOrdinal(const WORD* at) {
    if (*at == 0x0000) return at + 1;
    if (*at == 0xFFFF) return at + 2;
    while (*at != 0) ++at;
    return at + 1;
}

const WORD* SkipString(const WORD* at) {
    while (*at != 0) ++at;
    return at + 1;
}

// A copy of a DIALOG or DIALOGEX template that names the sheet's font; the
// controls are copied unchanged. The header, in WORDs:
//   DIALOG:    style(2) exStyle(2) count x y cx cy menu class title [points face]
//   DIALOGEX:  1 0xFFFF helpId(2) exStyle(2) style(2) count x y cx cy menu class title
//              [points weight italic|charset face]
// then the controls, each DWORD-aligned.
std::vector<WORD> WithSheetFont(const BYTE* original, size_t size) {
    const WORD* words = reinterpret_cast<const WORD*>(original);
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    const size_t styleAt = extended ? 6 : 0;
    const size_t countAt = extended ? 8 : 4;
    DWORD style = 0;
    memcpy(&style, words + styleAt, sizeof style);

    const WORD* titleEnd = SkipString(SkipNameOrOrdinal(SkipNameOrOrdinal(words + countAt + 5)));
    const WORD* headerEnd = (style & DS_SETFONT) ? SkipString(titleEnd + (extended ? 3 : 1)) : titleEnd;
    const size_t itemsAt = (static_cast<size_t>(headerEnd - words) * sizeof(WORD) + 3) & ~size_t{3};

    std::vector<WORD> copy(words, titleEnd);
    style |= DS_SETFONT;
    copy[styleAt] = LOWORD(style);  // little-endian, as the template stores it
    copy[styleAt + 1] = HIWORD(style);
    copy.push_back(kSheetFontPoints);
    if (extended) {
        copy.push_back(FW_NORMAL);
        copy.push_back(0);  // not italic, default character set
    }
    for (const wchar_t* c = kSheetFontFace; *c != 0; ++c) copy.push_back(static_cast<WORD>(*c));
    copy.push_back(0);
    if (copy.size() % 2 != 0) copy.push_back(0);  // the controls start DWORD-aligned
    if (itemsAt < size) {
        const WORD* items = reinterpret_cast<const WORD*>(original + itemsAt);
        copy.insert(copy.end(), items, items + (size - itemsAt) / sizeof(WORD));
    }
    return copy;
}

}  // namespace

CPropertyPage::CPropertyPage(UINT templateId) : m_nTemplateId(templateId) {}

CPropertyPage::~CPropertyPage() = default;

PROPSHEETPAGEA CPropertyPage::Describe() {
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof page;
    page.hInstance = GetModuleHandleA(nullptr);
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);

    HRSRC found = FindResourceA(page.hInstance, MAKEINTRESOURCEA(m_nTemplateId),
                                 MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL loaded = found != nullptr ? LoadResource(page.hInstance, found) : nullptr;
    const void* original = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (original != nullptr) {
        m_template = WithSheetFont(static_cast<const BYTE*>(original), SizeofResource(page.hInstance, found));
        page.dwFlags = PSP_DLGINDIRECT;
        page.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_template.data());
    } else {
        // The system reports the missing template when it creates the page.
        page.dwFlags = PSP_DEFAULT;
        page.pszTemplate = MAKEINTRESOURCEA(m_nTemplateId);
    }
    return page;
}

bool CPropertyPage::UpdateData(bool saveAndValidate) {
    CDataExchange dx(m_hWnd, saveAndValidate);
    DoDataExchange(dx);
    return !dx.m_bFailed;
}

void CPropertyPage::DoDataExchange(CDataExchange&) {}

INT_PTR CPropertyPage::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;  // the dialog manager sets the focus
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}

INT_PTR CPropertyPage::OnNotify(const NMHDR& header) {
    LONG_PTR result = 0;
    switch (header.code) {
    case PSN_SETACTIVE:
        // Each time the page is shown, first time or back from another page.
        UpdateData(false);
        result = 0;  // accept the activation
        break;
    case PSN_KILLACTIVE:
        // Leaving the page, for another page or for OK: a refused field keeps
        // the user here and the sheet open.
        result = UpdateData(true) ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        // Sent only after the active page let the user leave: the data is in.
        if (m_pSheet != nullptr) m_pSheet->m_bApplied = true;
        result = PSNRET_NOERROR;
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CPropertyPage::HandleMessageReportingErrors(UINT message, WPARAM wParam, LPARAM lParam) {
    return RunHandler(m_hWnd, [&] { return HandleMessage(message, wParam, lParam); }).value_or(FALSE);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // lParam is the sheet's copy of the PROPSHEETPAGE; its lParam is the page object.
        auto* self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        self->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        if (self->m_pSheet != nullptr) self->m_pSheet->Attach(GetParent(hWnd));
    }
    auto* self = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrA(hWnd, DWLP_USER));
    if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG
    INT_PTR result = self->HandleMessageReportingErrors(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}
