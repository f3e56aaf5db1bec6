// The module in a process of its own, for a clean lock count and registry: the class object,
// unloading, the interface map, aggregation, the type library read back, and self-registration.
#include <utility>

#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

HRESULT CanUnloadNow() { return KamvioExport("DllCanUnloadNow")(); }

// An outer object that counts its references and answers IUnknown itself.
struct Outer : IUnknown {
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!IsEqualIID(riid, IID_IUnknown)) return inner->QueryInterface(riid, ppv);
        return *ppv = this, AddRef(), S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    ULONG refs = 1;
    IUnknown* inner = nullptr;
};

TEST(ComponentModule, RefusesForeignClassesUnloadsOnlyWithoutObjectsOrLocksAndAggregates) {
    static const CLSID kForeign = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    IClassFactory* foreign = reinterpret_cast<IClassFactory*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, GetClassFactory(kForeign, &foreign));
    EXPECT_EQ(nullptr, foreign);

    ASSERT_EQ(S_OK, CanUnloadNow());
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, GetClassFactory(CLSID_OvCanonSDK, factory.put()));
    EXPECT_EQ(S_OK, CanUnloadNow()) << "holding the class object alone is no lock";
    ComPtr<IUnknown> refused;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IClassFactory, refused.put_void()));
    EXPECT_EQ(S_OK, CanUnloadNow()) << "the refused object was destroyed";

    ComPtr<IOvCanonSDK> a, b;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOvCanonSDK, a.put_void()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOvCanonSDK, b.put_void()));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    a.reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow()) << "one object still lives";
    b.reset();
    EXPECT_EQ(S_OK, CanUnloadNow()) << "after the last release";
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, CanUnloadNow());

    // Aggregated behind an outer object, the interface map is answered with the outer identity.
    Outer outer;
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IOvCanonSDK, refused.put_void()));
    ASSERT_EQ(S_OK, factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)));
    EXPECT_EQ(1u, outer.refs) << "creating the inner object does not hold the outer one";
    EXPECT_EQ(S_FALSE, CanUnloadNow());

    {
        ComPtr<IOvCanonSDK> itf;
        ComPtr<IUnknown> identity;
        ComPtr<IDispatch> dispatch;
        ASSERT_EQ(S_OK, outer.inner->QueryInterface(IID_IOvCanonSDK, itf.put_void()));
        EXPECT_EQ(2u, outer.refs) << "references on the interface go to the outer object";
        ASSERT_EQ(S_OK, itf->QueryInterface(IID_IUnknown, identity.put_void()));
        EXPECT_EQ(static_cast<IUnknown*>(&outer), identity.get()) << "one identity: the outer object's";
        ASSERT_EQ(S_OK, itf->QueryInterface(IID_IDispatch, dispatch.put_void()));
        EXPECT_EQ(static_cast<IDispatch*>(itf.get()), dispatch.get()) << "the dual interface answers IDispatch";
        EXPECT_EQ(E_NOINTERFACE, itf->QueryInterface(IID_IPersist, identity.put_void()));
    }
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(0u, std::exchange(outer.inner, nullptr)->Release());
    EXPECT_EQ(S_OK, CanUnloadNow());
}

// "name: help string"
template <typename Source>
std::wstring Doc(Source* source, MEMBERID id) {
    UniqueBstr name, help;
    if (FAILED(source->GetDocumentation(id, name.put(), help.put(), nullptr, nullptr))) return L"?";
    return std::wstring(name.get() ? name.get() : L"") + L": " + (help.get() ? help.get() : L"");
}

TEST(TypeLibrary, ReadBackDescribesTheLibraryTheClassAndTheDualInterface) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(KamvioPath().c_str(), REGKIND_NONE, library.put()));
    TLIBATTR* lib = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&lib));
    EXPECT_TRUE(IsEqualGUID(LIBID_KAMVIOLib, lib->guid));
    EXPECT_EQ((std::vector<int>{1, 0, 0x409}), (std::vector<int>{lib->wMajorVerNum, lib->wMinorVerNum, int(lib->lcid)}));
    library->ReleaseTLibAttr(lib);
    EXPECT_EQ(L"KAMVIOLib: Kamvio 1.0 Type Library", Doc(library.get(), -1));
    EXPECT_EQ(5u, library->GetTypeInfoCount())
        << "OvCanonSDK and its interface, KamvioCamera with its interface and events, nothing else";
    ComPtr<ITypeInfo> scriptable;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_KamvioCamera, scriptable.put()));
    INT sourceFlags = 0;
    ASSERT_EQ(S_OK, scriptable->GetImplTypeFlags(1, &sourceFlags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, sourceFlags) << "its events are its default source";

    ComPtr<ITypeInfo> coclass, dispatch, vtable;
    HREFTYPE ref = 0;
    INT implFlags = 0;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(CLSID_OvCanonSDK, coclass.put()));
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID_IOvCanonSDK, dispatch.put()));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(-1, &ref));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, vtable.put()));
    ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(0, &implFlags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, implFlags) << "the class's one interface is its default";

    const struct { ITypeInfo* info; const wchar_t* doc; TYPEKIND kind; WORD flags, functions; } types[] = {
        {coclass.get(), L"OvCanonSDK: OvCanonSDK Class", TKIND_COCLASS, TYPEFLAG_FCANCREATE, 0},
        {dispatch.get(), L"IOvCanonSDK: IOvCanonSDK Interface", TKIND_DISPATCH, TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE, 7 + 19},
        {vtable.get(), L"IOvCanonSDK: IOvCanonSDK Interface", TKIND_INTERFACE,
         TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE, 19},
    };
    for (const auto& t : types) {
        SCOPED_TRACE(t.kind);
        EXPECT_EQ(t.doc, Doc(t.info, MEMBERID_NIL));
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(S_OK, t.info->GetTypeAttr(&attr));
        EXPECT_EQ((std::vector<int>{t.kind, t.flags, t.functions}),
                  (std::vector<int>{attr->typekind, attr->wTypeFlags, attr->cFuncs}));
        t.info->ReleaseTypeAttr(attr);
    }

    for (UINT i = 0; i < 19; ++i) {
        SCOPED_TRACE(kMethodNames[i]);
        FUNCDESC* f = nullptr;
        ASSERT_EQ(S_OK, vtable->GetFuncDesc(i, &f));
        EXPECT_EQ(static_cast<MEMBERID>(i + 1), f->memid);
        EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), f->oVft) << "slot after IDispatch's seven";
        EXPECT_EQ(VT_HRESULT, f->elemdescFunc.tdesc.vt);
        for (SHORT p = 0; p < f->cParams; ++p)
            EXPECT_NE(PARAMFLAG_FOUT, f->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT));
        EXPECT_EQ(std::wstring(kMethodNames[i]) + L": method " + kMethodNames[i], Doc(vtable.get(), f->memid));
        vtable->ReleaseFuncDesc(f);
    }
}

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS && !RegCloseKey(key);
}

std::wstring Value(const std::wstring& path, const wchar_t* name = nullptr) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    const LSTATUS status = RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    return status == ERROR_SUCCESS ? buffer : L"<missing>";
}

TEST(Registration, WritesTheClassAndTypeLibraryKeysAndRemovesThemAll) {
    // COM first: registering on a thread without it can hang under Wine.
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const std::wstring clsid = L"{C980C195-D310-4D7B-8A0F-41B7232949E5}", classKey = L"CLSID\\" + clsid;
    const std::wstring typeLibKey = L"TypeLib\\{1C864C25-6A8C-44A9-89FA-73A1AEF736B2}";
    const std::wstring interfaceKey = L"Interface\\{B1E3B4F3-F0B5-4DA2-A527-66C00BF5A5A9}";
    const std::wstring cameraClsid = L"{C97969A3-0613-42F6-824B-A96C84AA0DD6}", cameraKey = L"CLSID\\" + cameraClsid;

    ASSERT_EQ(S_OK, KamvioExport("DllRegisterServer")());
    const struct { std::wstring key; const wchar_t* name; std::wstring expected; } values[] = {
        {L"Kamvio.OvCanonSDK.1", nullptr, L"OvCanonSDK Class"},  {L"Kamvio.OvCanonSDK.1\\CLSID", nullptr, clsid},
        {L"Kamvio.OvCanonSDK", nullptr, L"OvCanonSDK Class"},    {L"Kamvio.OvCanonSDK\\CLSID", nullptr, clsid},
        {classKey, nullptr, L"OvCanonSDK Class"},                {classKey + L"\\ProgID", nullptr, L"Kamvio.OvCanonSDK.1"},
        {classKey + L"\\VersionIndependentProgID", nullptr, L"Kamvio.OvCanonSDK"},
        {classKey + L"\\InprocServer32", L"ThreadingModel", L"both"},
        {typeLibKey + L"\\1.0", nullptr, L"Kamvio 1.0 Type Library"},
        {interfaceKey, nullptr, L"IOvCanonSDK"},  // the type library registers the dual interface
        // The scriptable class, registered by the same run.
        {L"Kamvio.Camera\\CLSID", nullptr, cameraClsid},   {L"Kamvio.Camera\\CurVer", nullptr, L"Kamvio.Camera.1"},
        {L"Kamvio.Camera.1\\CLSID", nullptr, cameraClsid},
        {cameraKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {cameraKey + L"\\TypeLib", nullptr, L"{1C864C25-6A8C-44A9-89FA-73A1AEF736B2}"},
    };
    for (const auto& v : values) EXPECT_EQ(v.expected, Value(v.key, v.name)) << v.key;
    EXPECT_EQ(0, _wcsicmp(KamvioPath().c_str(), Value(classKey + L"\\InprocServer32").c_str()));

    for (int round = 0; round < 2; ++round) {  // unregistering twice is harmless
        EXPECT_EQ(S_OK, KamvioExport("DllUnregisterServer")()) << round;
        for (const std::wstring& key : {std::wstring(L"Kamvio.OvCanonSDK.1"), std::wstring(L"Kamvio.OvCanonSDK"),
                                        classKey, typeLibKey, interfaceKey, std::wstring(L"Kamvio.Camera"),
                                        std::wstring(L"Kamvio.Camera.1"), cameraKey})
            EXPECT_FALSE(KeyExists(key)) << key;
    }
    EXPECT_TRUE(KeyExists(L"CLSID")) << "the CLSID root stays";
    CoUninitialize();
}

}  // namespace
