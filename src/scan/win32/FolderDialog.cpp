#include "scan/win32/FolderDialog.h"

#include <shlobj.h>

#include "common/core/TrimAtNul.h"
#include "common/win32/Handles.h"

namespace qorvani {

std::wstring ChooseFolder(HWND owner, const std::wstring& title) {
    const ComApartment com = InitializeCom();
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = nullptr;
    info.lParam = 0;
    info.iImage = 0;
    CoTaskMemPtr<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
    std::wstring buffer(MAX_PATH, L'\0');
    if (chosen) SHGetPathFromIDListW(chosen.Get(), buffer.data());
    return TrimAtNul(buffer);
}

}  // namespace qorvani
