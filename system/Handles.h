// Move-only owners of the operating-system handles the program opens.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <utility>

namespace Handles {

// Owner of one handle; Traits says what "empty" is and how to close.
template <typename T, typename Traits>
class Unique {
public:
    Unique() noexcept = default;
    explicit Unique(T value) noexcept : value_(value) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : value_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    [[nodiscard]] T get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return !Traits::IsEmpty(value_); }
    void reset(T value = Traits::Empty()) noexcept {
        if (!Traits::IsEmpty(value_)) Traits::Close(value_);
        value_ = value;
    }
    [[nodiscard]] T release() noexcept { return std::exchange(value_, Traits::Empty()); }
    // For out-parameters: closes what is held and hands out the slot.
    T* put() noexcept {
        reset();
        return &value_;
    }

private:
    T value_ = Traits::Empty();
};

struct HkeyTraits {
    static HKEY Empty() noexcept { return nullptr; }
    // Predefined roots (HKEY_LOCAL_MACHINE, ...) are never closed.
    static bool IsEmpty(HKEY k) noexcept {
        return k == nullptr || (reinterpret_cast<ULONG_PTR>(k) & 0xFFFFFFF0u) == 0x80000000u;
    }
    static void Close(HKEY k) noexcept { RegCloseKey(k); }
};
struct ScHandleTraits {
    static SC_HANDLE Empty() noexcept { return nullptr; }
    static bool IsEmpty(SC_HANDLE h) noexcept { return h == nullptr; }
    static void Close(SC_HANDLE h) noexcept { CloseServiceHandle(h); }
};
struct HandleTraits {
    static HANDLE Empty() noexcept { return nullptr; }
    static bool IsEmpty(HANDLE h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};
struct FindTraits {
    static HANDLE Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(HANDLE h) noexcept { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { FindClose(h); }
};
template <typename G>
struct GdiTraits {
    static G Empty() noexcept { return nullptr; }
    static bool IsEmpty(G h) noexcept { return h == nullptr; }
    static void Close(G h) noexcept { DeleteObject(h); }
};
struct HdcTraits {
    static HDC Empty() noexcept { return nullptr; }
    static bool IsEmpty(HDC h) noexcept { return h == nullptr; }
    static void Close(HDC h) noexcept { DeleteDC(h); }
};
struct HmenuTraits {
    static HMENU Empty() noexcept { return nullptr; }
    static bool IsEmpty(HMENU h) noexcept { return h == nullptr; }
    static void Close(HMENU h) noexcept { DestroyMenu(h); }
};
struct HiconTraits {
    static HICON Empty() noexcept { return nullptr; }
    static bool IsEmpty(HICON h) noexcept { return h == nullptr; }
    static void Close(HICON h) noexcept { DestroyIcon(h); }
};
struct ImageListTraits {
    static HIMAGELIST Empty() noexcept { return nullptr; }
    static bool IsEmpty(HIMAGELIST h) noexcept { return h == nullptr; }
    static void Close(HIMAGELIST h) noexcept { ImageList_Destroy(h); }
};
struct CoTaskMemTraits {
    static void* Empty() noexcept { return nullptr; }
    static bool IsEmpty(void* p) noexcept { return p == nullptr; }
    static void Close(void* p) noexcept { CoTaskMemFree(p); }
};

} // namespace Handles

using UniqueHkey = Handles::Unique<HKEY, Handles::HkeyTraits>;
using UniqueScHandle = Handles::Unique<SC_HANDLE, Handles::ScHandleTraits>;
using UniqueHandle = Handles::Unique<HANDLE, Handles::HandleTraits>;
using UniqueFindHandle = Handles::Unique<HANDLE, Handles::FindTraits>;
using UniqueHfont = Handles::Unique<HFONT, Handles::GdiTraits<HFONT>>;
using UniqueHbrush = Handles::Unique<HBRUSH, Handles::GdiTraits<HBRUSH>>;
using UniqueHpen = Handles::Unique<HPEN, Handles::GdiTraits<HPEN>>;
using UniqueHbitmap = Handles::Unique<HBITMAP, Handles::GdiTraits<HBITMAP>>;
using UniqueHdc = Handles::Unique<HDC, Handles::HdcTraits>;
using UniqueHmenu = Handles::Unique<HMENU, Handles::HmenuTraits>;
using UniqueHicon = Handles::Unique<HICON, Handles::HiconTraits>;
using UniqueImageList = Handles::Unique<HIMAGELIST, Handles::ImageListTraits>;
using UniqueCoTaskMem = Handles::Unique<void*, Handles::CoTaskMemTraits>;

// Reference-counted COM pointer with WIL-like names.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ComPtr(const ComPtr& o) noexcept : p_(o.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept { std::swap(p_, o.p_); return *this; }
    ~ComPtr() { reset(); }
    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept { if (p_) { p_->Release(); p_ = nullptr; } }
    T** put() noexcept { reset(); return &p_; }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    template <typename U>
    [[nodiscard]] ComPtr<U> query() const noexcept {
        ComPtr<U> out;
        if (p_) p_->QueryInterface(__uuidof(U), out.put_void());
        return out;
    }
private:
    T* p_ = nullptr;
};
