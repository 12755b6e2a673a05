// CComPtr's reference accounting: copies add a reference, moves hand the one
// they hold over, and every path lets go of exactly what it took.
#include "framework/ComPtr.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

class CCounted : public IUnknown {
public:
    ULONG m_nRefs = 1;
    STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRefs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_nRefs; }
};

} // namespace

TEST(ComPtrTest, MovesHandOverTheReferenceAndCopiesAddOne) {
    CCounted a, b;
    {
        CComPtr<IUnknown> p1(&a);
        EXPECT_EQ(2u, a.m_nRefs);
        CComPtr<IUnknown> p2(std::move(p1));
        EXPECT_EQ(nullptr, p1.p);
        EXPECT_EQ(2u, a.m_nRefs);
        CComPtr<IUnknown> p3(p2);
        EXPECT_EQ(3u, a.m_nRefs);

        CComPtr<IUnknown> p4(&b);
        p4 = std::move(p3); // lets go of b, takes p3's reference to a
        EXPECT_EQ(1u, b.m_nRefs);
        EXPECT_EQ(3u, a.m_nRefs);
        EXPECT_EQ(nullptr, p3.p);

        CComPtr<IUnknown>& self = p4;
        p4 = std::move(self);
        EXPECT_EQ(&a, p4.p);
        EXPECT_EQ(3u, a.m_nRefs);
    }
    EXPECT_EQ(1u, a.m_nRefs);
    EXPECT_EQ(1u, b.m_nRefs);
}
