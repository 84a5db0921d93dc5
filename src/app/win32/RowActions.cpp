#include "app/win32/RowActions.h"

#include <shlobj.h>

#include <cstring>

#include "common/win32/Handles.h"

namespace qorvani {

bool OpenFolderSelecting(const std::wstring& exactPath) {
    // The shell's folder windows need COM on the calling thread; an apartment already there is kept.
    const ComApartment com = InitializeCom();
    const CoTaskMemPtr<ITEMIDLIST> item(ILCreateFromPathW(exactPath.c_str()));
    if (!item.Valid()) return false;
    // With no children named, the item itself is selected in its parent folder.
    return SUCCEEDED(SHOpenFolderAndSelectItems(item.Get(), 0, nullptr, 0));
}

bool CopyToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory.Valid()) return false;
    void* target = GlobalLock(memory.Get());
    if (target == nullptr) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.Get());
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr;
    if (taken) memory.Release();  // the clipboard owns it now
    CloseClipboard();
    return taken;
}

}  // namespace qorvani
