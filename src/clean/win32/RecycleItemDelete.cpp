#include "clean/win32/RecycleItemDelete.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace qorvani {

namespace {

// Hears what the operation did with its one item. Lives on the stack of Delete, declared before
// the operation, so that it outlives the operation's last reference even if the operation held
// it past Unadvise.
class DeleteSink final : public IFileOperationProgressSink {
public:
    bool posted = false;
    HRESULT result = E_FAIL;
    bool inBin = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IFileOperationProgressSink)) {
            *object = static_cast<IFileOperationProgressSink*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }

    HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD, IShellItem*, HRESULT deleted, IShellItem* newlyCreated) override {
        posted = true;
        result = deleted;
        inBin = newlyCreated != nullptr;  // the file's new item in the Recycle Bin; none when destroyed
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }

private:
    LONG refs_ = 1;
};

// The operation's flags: the FOF_ flags of the call, and from Windows 8 on FOFX_RECYCLEONDELETE,
// which the file operation needs beside FOF_ALLOWUNDO to recycle. An older system that refuses it
// is given the FOF_ flags alone.
HRESULT SetFlags(IFileOperation& operation, std::uint16_t flags) {
    if ((flags & FOF_ALLOWUNDO) != 0 && SUCCEEDED(operation.SetOperationFlags(flags | FOFX_RECYCLEONDELETE)))
        return S_OK;
    return operation.SetOperationFlags(flags);
}

}  // namespace

std::optional<RecycleItemDelete::Result> RecycleItemDelete::Delete(const std::wstring& path, std::uint16_t flags) {
    if (unavailable_) return std::nullopt;
    if (!tried_) {
        tried_ = true;
        com_ = InitializeCom();  // S_FALSE (already set up) is owned too; another apartment kind is left as it is
    }
    DeleteSink sink;  // before the operation: it is destroyed after the operation is released
    IFileOperation* made = nullptr;
    if (FAILED(CoCreateInstance(__uuidof(FileOperation), nullptr, CLSCTX_ALL, __uuidof(IFileOperation),
                                reinterpret_cast<void**>(&made))) ||
        made == nullptr) {
        unavailable_ = true;
        return std::nullopt;
    }
    const ComPtr<IFileOperation> operation(made);
    IShellItem* parsed = nullptr;
    if (FAILED(SetFlags(*operation.Get(), flags)) || FAILED(operation.Get()->SetOwnerWindow(owner_))) {
        unavailable_ = true;
        return std::nullopt;
    }
    if (FAILED(SHCreateItemFromParsingName(path.c_str(), nullptr, __uuidof(IShellItem), reinterpret_cast<void**>(&parsed))) ||
        parsed == nullptr)
        return std::nullopt;  // this file only: the other way may still reach it
    const ComPtr<IShellItem> item(parsed);

    DWORD cookie = 0;
    if (FAILED(operation.Get()->Advise(&sink, &cookie)) || FAILED(operation.Get()->DeleteItem(item.Get(), nullptr))) {
        unavailable_ = true;
        return std::nullopt;
    }
    const HRESULT performed = operation.Get()->PerformOperations();
    operation.Get()->Unadvise(cookie);
    if (performed == E_NOTIMPL && !sink.posted) {
        unavailable_ = true;
        return std::nullopt;
    }
    Result result{static_cast<int>(performed), SentFate::Untold};
    if (sink.posted && SUCCEEDED(sink.result)) result.fate = sink.inBin ? SentFate::Recycled : SentFate::Destroyed;
    return result;
}

}  // namespace qorvani
