// The counted reference's rules on a small object that counts its references: each copy adds
// one, each owner gives its own back once, and a reference taken over is never counted twice.
#include <gtest/gtest.h>

#include <windows.h>
#include <unknwn.h>

#include "com_ref.h"

namespace {

using owners::ComRef;

// Serves IUnknown only; deletes nothing, so a test can read the count after the last owner.
class Counted : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        ++queries;
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown))
            return E_NOINTERFACE;
        *out = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        EXPECT_GT(count, 0UL) << "released more often than counted";
        if (onRelease)
            onRelease();
        return --count;
    }

    ULONG count = 0;
    int queries = 0;
    void (*onRelease)() = nullptr;
};

TEST(ComRef, CopiesAddAndOwnersGiveBackTheirOwn)
{
    Counted object;
    {
        ComRef<Counted> first(&object);
        EXPECT_EQ(object.count, 1UL) << "a lent pointer gets a reference of its own";
        ComRef<Counted> copy(first);
        EXPECT_EQ(object.count, 2UL);
        ComRef<Counted> assigned;
        assigned = copy;
        EXPECT_EQ(object.count, 3UL);
        assigned = assigned;
        EXPECT_EQ(object.count, 3UL) << "assigning what it holds keeps the count";
        assigned = ComRef<Counted>();
        EXPECT_EQ(object.count, 2UL) << "assignment gives back what the target held";
        copy.Reset();
        EXPECT_FALSE(copy);
        EXPECT_EQ(object.count, 1UL);
        copy.Reset();
        EXPECT_EQ(object.count, 1UL) << "an empty reset gives nothing back";
    }
    EXPECT_EQ(object.count, 0UL) << "given back at scope end";
}

TEST(ComRef, AMoveCarriesTheReferenceWithoutCounting)
{
    Counted object, other;
    {
        ComRef<Counted> from(&object);
        ComRef<Counted> to(std::move(from));
        EXPECT_FALSE(from);
        EXPECT_EQ(to.Get(), &object);
        EXPECT_EQ(object.count, 1UL);
        ComRef<Counted> target(&other);
        target = std::move(to);
        EXPECT_EQ(other.count, 0UL) << "the target's old reference goes";
        EXPECT_EQ(object.count, 1UL);
        target = std::move(target);
        EXPECT_EQ(target.Get(), &object) << "moving into itself keeps it";
        EXPECT_EQ(object.count, 1UL);
    }
    EXPECT_EQ(object.count, 0UL);
}

TEST(ComRef, ACountedReferenceIsTakenOverAndLetGoUncounted)
{
    Counted object;
    object.AddRef();  // as a call that returns a new reference counts it
    {
        auto taken = ComRef<Counted>::Adopt(&object);
        EXPECT_EQ(object.count, 1UL) << "taken over, not added";
        Counted* let = taken.LetGo();
        EXPECT_EQ(let, &object);
        EXPECT_FALSE(taken);
        EXPECT_EQ(object.count, 1UL) << "let go, not given back";
        taken = ComRef<Counted>::Adopt(let);
    }
    EXPECT_EQ(object.count, 0UL);
}

TEST(ComRef, ReceiveAndHandOutKeepTheCountOfAnOutParameter)
{
    Counted held, written;
    ComRef<Counted> place(&held);
    Counted** out = place.Receive();
    EXPECT_EQ(held.count, 0UL) << "what was held goes before the call writes";
    EXPECT_EQ(*out, nullptr);
    *out = &written;
    written.AddRef();  // the writing call's count
    EXPECT_EQ(place.Get(), &written);

    Counted* given = nullptr;
    EXPECT_EQ(place.HandOut(&given), S_OK);
    EXPECT_EQ(given, &written);
    EXPECT_EQ(written.count, 2UL) << "the receiver gets a reference of its own";
    given->Release();
    EXPECT_EQ(place.HandOut(nullptr), E_POINTER);

    ComRef<Counted> none;
    given = &held;
    EXPECT_EQ(none.HandOut(&given), S_OK);
    EXPECT_EQ(given, nullptr);

    place.Reset();
    EXPECT_EQ(written.count, 0UL);
}

TEST(ComRef, QueryCountsWhatItFindsAndHoldsNothingWhenRefused)
{
    Counted object;
    ComRef<Counted> ref(&object);
    ComRef<IUnknown> found;
    EXPECT_EQ(ref.Query(IID_IUnknown, found), S_OK);
    EXPECT_EQ(found.Get(), static_cast<IUnknown*>(&object));
    EXPECT_EQ(object.count, 2UL);

    Counted stale;
    ComRef<IUnknown> refused(&stale);
    EXPECT_EQ(ref.Query(IID_IStream, refused), E_NOINTERFACE);
    EXPECT_FALSE(refused);
    EXPECT_EQ(stale.count, 0UL) << "what the target held goes";
    EXPECT_EQ(object.count, 2UL) << "a refusal counts nothing";

    ComRef<Counted> self(&object);
    EXPECT_EQ(self.Query(IID_IUnknown, self), S_OK) << "into the reference asked";
    EXPECT_EQ(self.Get(), &object);
    EXPECT_EQ(object.count, 3UL);

    ComRef<Counted> empty;
    found = ComRef<IUnknown>(&stale);
    const int queries = object.queries;
    EXPECT_EQ(empty.Query(IID_IUnknown, found), E_POINTER);
    EXPECT_FALSE(found);
    EXPECT_EQ(stale.count, 0UL);
    EXPECT_EQ(object.queries, queries);
}

ComRef<Counted>* g_watched = nullptr;
bool g_emptyDuringRelease = false;

TEST(ComRef, ResetLetsGoBeforeTheObjectHearsOfIt)
{
    Counted object;
    ComRef<Counted> ref(&object);
    g_watched = &ref;
    object.onRelease = [] { g_emptyDuringRelease = !*g_watched; };
    g_emptyDuringRelease = false;
    ref.Reset();
    EXPECT_TRUE(g_emptyDuringRelease) << "a call made while the object goes finds no reference";
    EXPECT_EQ(object.count, 0UL);

    ref = ComRef<Counted>(&object);
    g_emptyDuringRelease = false;
    ref = ComRef<Counted>();
    EXPECT_TRUE(g_emptyDuringRelease) << "likewise for an assignment";
    object.onRelease = nullptr;
    g_watched = nullptr;
}

}  // namespace
