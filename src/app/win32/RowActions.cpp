#include "app/win32/RowActions.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "clean/core/DeleteCommand.h"
#include "common/core/Texts.h"
#include "common/win32/Handles.h"

namespace qorvani {
namespace {

// The shell's item for a full path: parsed as it is, or in its long form (\\?\) where the plain
// path is beyond what the shell parses.
CoTaskMemPtr<ITEMIDLIST> ParsedItem(const std::wstring& path) {
    const std::wstring longForm = LookupForm(path);
    for (const std::wstring* form : {&path, &longForm}) {
        if (form == &longForm && longForm == path) break;
        PIDLIST_ABSOLUTE item = nullptr;
        if (SUCCEEDED(SHParseDisplayName(form->c_str(), nullptr, &item, 0, nullptr)) && item != nullptr)
            return CoTaskMemPtr<ITEMIDLIST>(item);
    }
    return CoTaskMemPtr<ITEMIDLIST>();
}

// The item of a name inside a folder, relative to the folder: parsed by the folder itself, so
// that the length of the folder's own path does not count.
CoTaskMemPtr<ITEMIDLIST> ChildItem(PCIDLIST_ABSOLUTE folder, std::wstring name) {
    IShellFolder* desktopMade = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktopMade)) || desktopMade == nullptr) return CoTaskMemPtr<ITEMIDLIST>();
    const ComPtr<IShellFolder> desktop(desktopMade);
    void* bound = nullptr;
    if (FAILED(desktop.Get()->BindToObject(folder, nullptr, IID_IShellFolder, &bound)) || bound == nullptr)
        return CoTaskMemPtr<ITEMIDLIST>();
    const ComPtr<IShellFolder> shellFolder(static_cast<IShellFolder*>(bound));
    PIDLIST_RELATIVE child = nullptr;
    if (FAILED(shellFolder.Get()->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &child, nullptr))) child = nullptr;
    return CoTaskMemPtr<ITEMIDLIST>(child);
}

bool OpenFolderItem(PCIDLIST_ABSOLUTE folder) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_IDLIST | SEE_MASK_FLAG_NO_UI;
    info.lpIDList = const_cast<LPITEMIDLIST>(folder);
    info.lpVerb = L"open";
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace

bool OpenFolderSelecting(const std::wstring& exactPath) {
    // The shell's folder windows need COM on the calling thread; an apartment already there is kept.
    const ComApartment com = InitializeCom();
    const std::size_t slash = exactPath.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 >= exactPath.size()) return false;
    // The folder's item and the file's inside it, made apart: a row's path may be far beyond
    // MAX_PATH, which ILCreateFromPathW is not made for (it serves only where the folder's own
    // item cannot be made).
    const CoTaskMemPtr<ITEMIDLIST> folder = ParsedItem(exactPath.substr(0, slash + 1));
    if (!folder.Valid()) {
        const CoTaskMemPtr<ITEMIDLIST> item(ILCreateFromPathW(exactPath.c_str()));
        return item.Valid() && SUCCEEDED(SHOpenFolderAndSelectItems(item.Get(), 0, nullptr, 0));
    }
    const CoTaskMemPtr<ITEMIDLIST> file = ChildItem(folder.Get(), exactPath.substr(slash + 1));
    if (file.Valid()) {
        PCUITEMID_CHILD selected[] = {file.Get()};
        if (SUCCEEDED(SHOpenFolderAndSelectItems(folder.Get(), 1, selected, 0))) return true;
    }
    // The file's own item cannot be made (gone since the scan, a name the shell does not take):
    // its folder is opened all the same.
    return OpenFolderItem(folder.Get());
}

bool CopyToClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory.Valid()) return false;
    void* target = GlobalLock(memory.Get());
    if (target == nullptr) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.Get());
    if (!OpenClipboardWaiting(owner, kClipboardPatienceMs)) return false;
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_UNICODETEXT, memory.Get()) != nullptr;
    if (taken) memory.Release();  // the clipboard owns it now
    CloseClipboard();
    return taken;
}

bool OpenClipboardWaiting(HWND owner, DWORD patienceMs) {
    // Clipboard managers and remote desktops hold the clipboard for moments. Meanwhile only
    // messages sent to this thread are answered (the holder may be sending one to the
    // clipboard's owner, which may be this window); no input and no posted message runs.
    const DWORD start = GetTickCount();
    for (;;) {
        if (OpenClipboard(owner)) return true;
        const DWORD waited = GetTickCount() - start;
        if (waited >= patienceMs) return false;
        const DWORD step = patienceMs - waited < 20 ? patienceMs - waited : 20;
        if (MsgWaitForMultipleObjectsEx(0, nullptr, step, QS_SENDMESSAGE, 0) == WAIT_OBJECT_0) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

}  // namespace qorvani

namespace qorvani {

std::wstring ChooseExportFile(HWND owner) {
    std::wstring file(32768, L'\0');
    file.replace(0, std::wcslen(text::kExportDefaultName), text::kExportDefaultName);
    std::wstring filter = text::kExportFileType;
    filter.append(1, L'\0').append(L"*.csv").append(2, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&dialog)) return {};
    file.resize(std::wcslen(file.c_str()));
    return file;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace qorvani
