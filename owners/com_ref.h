#pragma once
// A counted reference to a COM interface: a copy adds a reference, reset and destruction give
// one back.
//
//   owners::ComRef<IOleObject> object;
//   if (FAILED(CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.ReceiveAny())))
//       return;                                          // the call counted what it wrote
//   owners::ComRef<IDispatch> dispatch;
//   object.Query(IID_IDispatch, dispatch);
//   owners::ComRef<IOleClientSite> site(given);          // holds a pointer it was lent: adds one
//   auto made = owners::ComRef<Sink>::Adopt(new Sink);   // a count of one, taken over
//   site.HandOut(out);                                   // the caller gets a reference of its own
//
// T is any type with AddRef, Release and QueryInterface of its own.
#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace owners {

template <class T>
class ComRef {
public:
    ComRef() noexcept = default;
    ComRef(std::nullptr_t) noexcept {}
    // Holds a pointer someone else counted for itself: adds a reference of its own.
    explicit ComRef(T* shared) noexcept : p_(shared)
    {
        if (p_)
            p_->AddRef();
    }
    // Takes over a reference that was counted for the caller (a new object, a call's result).
    [[nodiscard]] static ComRef Adopt(T* counted) noexcept
    {
        ComRef taken;
        taken.p_ = counted;
        return taken;
    }
    ~ComRef() { Reset(); }

    ComRef(const ComRef& other) noexcept : ComRef(other.p_) {}
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    // The new reference is added before the old one goes, so assigning what it holds is safe.
    ComRef& operator=(const ComRef& other) noexcept
    {
        ComRef copy(other);
        return *this = std::move(copy);
    }
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other) {
            T* old = std::exchange(p_, std::exchange(other.p_, nullptr));
            if (old)
                old->Release();
        }
        return *this;
    }

    T* Get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }

    // Gives the reference back. The pointer is let go first, so a call made while the object
    // goes finds none here.
    void Reset() noexcept
    {
        if (T* old = std::exchange(p_, nullptr))
            old->Release();
    }
    // Lets the reference go to whoever takes it over, giving nothing back.
    [[nodiscard]] T* LetGo() noexcept { return std::exchange(p_, nullptr); }

    // For a call that writes a counted pointer out: what was held goes, and the call writes here.
    [[nodiscard]] T** Receive() noexcept
    {
        Reset();
        return &p_;
    }
    // The same place, for the calls that write through a void** (QueryInterface, CoCreateInstance).
    [[nodiscard]] void** ReceiveAny() noexcept { return reinterpret_cast<void**>(Receive()); }

    // Writes a reference of the caller's own to out (null when none is held).
    HRESULT HandOut(T** out) const noexcept
    {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    // Asks the object for another of its interfaces; into stays empty when it has none.
    template <class U>
    HRESULT Query(REFIID iid, ComRef<U>& into) const noexcept
    {
        ComRef<U> found;  // into may be this very reference
        HRESULT result = p_ ? p_->QueryInterface(iid, found.ReceiveAny()) : E_POINTER;
        into = std::move(found);
        return result;
    }

private:
    T* p_ = nullptr;
};

}  // namespace owners
