// The module's class object, lock count, interface map and aggregation.
#include <gtest/gtest.h>

#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

HRESULT CanUnloadNow() { return KamvioExport<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow")(); }

TEST(ComponentModule, ExportsTheFourEntryPointsUndecorated) {
    ASSERT_TRUE(KamvioModule());
    for (const char* name : {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_TRUE(GetProcAddress(KamvioModule(), name)) << name;
}

TEST(ComponentModule, RefusesAForeignClassAndHandsOutOneKeptFactory) {
    static const CLSID kForeign = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    IClassFactory* factory = reinterpret_cast<IClassFactory*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, GetClassFactory(kForeign, &factory));
    EXPECT_EQ(nullptr, factory);

    ComPtr<IClassFactory> first, second;
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, first.put()));
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, second.put()));
    EXPECT_EQ(first.get(), second.get());
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(S_OK, first->QueryInterface(IID_IUnknown, unknown.put_void()));
    ComPtr<IDispatch> none;
    EXPECT_EQ(E_NOINTERFACE, first->QueryInterface(IID_IDispatch, none.put_void()));
}

TEST(ComponentModule, CanUnloadOnlyWithoutLiveObjectsAndServerLocks) {
    ASSERT_EQ(S_OK, CanUnloadNow());
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, factory.put()));
    EXPECT_EQ(S_OK, CanUnloadNow()) << "holding the class object alone is no lock";

    ComPtr<IOvCanonSDK> a, b;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOvCanonSDK, a.put_void()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOvCanonSDK, b.put_void()));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    a.reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow()) << "one object still lives";
    b.reset();
    EXPECT_EQ(S_OK, CanUnloadNow());

    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, CanUnloadNow());
}

TEST(ComponentModule, CreateInstanceRefusesUnknownInterfacesAndDestroysTheObject) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, factory.put()));
    ComPtr<IUnknown> none;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, none.put_void()));
    EXPECT_FALSE(none);
    EXPECT_EQ(S_OK, CanUnloadNow()) << "the refused object was destroyed";
    EXPECT_EQ(E_POINTER, factory->CreateInstance(nullptr, IID_IUnknown, nullptr));
}

TEST(ComponentObject, AnswersItsInterfaceMapAndErrorInfoSupport) {
    ComPtr<IOvCanonSDK> object = CreateComponent();
    ASSERT_TRUE(object);
    ComPtr<IDispatch> dispatch;
    ComPtr<ISupportErrorInfo> errorInfo;
    ComPtr<IUnknown> unknown1, unknown2, none;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IDispatch, dispatch.put_void()));
    EXPECT_EQ(static_cast<IDispatch*>(object.get()), dispatch.get()) << "the dual interface answers IDispatch";
    ASSERT_EQ(S_OK, object->QueryInterface(IID_ISupportErrorInfo, errorInfo.put_void()));
    EXPECT_EQ(S_OK, errorInfo->InterfaceSupportsErrorInfo(IID_IOvCanonSDK));
    EXPECT_EQ(S_FALSE, errorInfo->InterfaceSupportsErrorInfo(IID_IDispatch));
    EXPECT_EQ(S_FALSE, errorInfo->InterfaceSupportsErrorInfo(IID_IUnknown));
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IPersist, none.put_void()));
    // COM identity: every interface gives the same IUnknown.
    ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IUnknown, unknown1.put_void()));
    ASSERT_EQ(S_OK, errorInfo->QueryInterface(IID_IUnknown, unknown2.put_void()));
    EXPECT_EQ(unknown1.get(), unknown2.get());

    UINT count = 0;
    EXPECT_EQ(S_OK, dispatch->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(DISP_E_BADINDEX, dispatch->GetTypeInfo(1, 0, info.put()));
    ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, info.put()));
    BSTR name = nullptr;
    ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
    UniqueBstr owned(name);
    EXPECT_STREQ(L"IOvCanonSDK", name);

    LPOLESTR unknownName = const_cast<LPOLESTR>(L"NoSuchMethod");
    DISPID id = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch->GetIDsOfNames(IID_NULL, &unknownName, 1, 0, &id));
    DISPPARAMS params = {};
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, dispatch->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
}

// An outer object that counts its references and answers IUnknown itself.
class Outer : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        ++delegatedQueries;
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    int delegatedQueries = 0;
    IUnknown* inner = nullptr;
};

TEST(ComponentObject, CanBeAggregatedAndDelegatesToItsOuterObject) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, factory.put()));
    Outer outer;
    ComPtr<IOvCanonSDK> refused;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IOvCanonSDK, refused.put_void()));

    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    EXPECT_EQ(1u, outer.refs) << "creating the inner object does not hold the outer one";
    EXPECT_EQ(S_FALSE, CanUnloadNow());

    IOvCanonSDK* itf = nullptr;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IOvCanonSDK, reinterpret_cast<void**>(&itf)));
    EXPECT_EQ(2u, outer.refs) << "references on the interface go to the outer object";
    IUnknown* identity = nullptr;
    ASSERT_EQ(S_OK, itf->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
    identity->Release();
    ComPtr<ISupportErrorInfo> viaOuter;
    EXPECT_EQ(S_OK, itf->QueryInterface(IID_ISupportErrorInfo, viaOuter.put_void()));
    EXPECT_EQ(1, outer.delegatedQueries);
    viaOuter.reset();
    itf->Release();
    EXPECT_EQ(1u, outer.refs);

    IUnknown* innerAgain = nullptr;
    ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&innerAgain)));
    EXPECT_EQ(outer.inner, innerAgain) << "the inner unknown answers for itself";
    innerAgain->Release();
    EXPECT_EQ(0u, outer.inner->Release());
    outer.inner = nullptr;
    EXPECT_EQ(S_OK, CanUnloadNow());
}

}  // namespace
