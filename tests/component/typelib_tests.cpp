// What the module carries: the type library read back, the strings, the registry script and
// the version block.
#include <gtest/gtest.h>

#include <string>

#include "tests/component/kamvio_library.h"

using namespace kamvio_test;

namespace {

std::wstring Doc(ITypeInfo* info, MEMBERID id, std::wstring* help = nullptr) {
    BSTR name = nullptr, doc = nullptr;
    if (FAILED(info->GetDocumentation(id, &name, &doc, nullptr, nullptr))) return L"?";
    UniqueBstr ownedName(name), ownedDoc(doc);
    if (help) *help = doc ? doc : L"";
    return name ? name : L"";
}

std::string TypeName(const TYPEDESC& t) {
    switch (t.vt) {
    case VT_PTR: return TypeName(*t.lptdesc) + "*";
    case VT_I4: return "long";
    case VT_UI4: return "unsigned long";
    case VT_UNKNOWN: return "IUnknown*";  // the pointer is part of the type
    case VT_BSTR: return "BSTR";
    case VT_HRESULT: return "HRESULT";
    }
    return "vt" + std::to_string(t.vt);
}

struct Method {
    const wchar_t* name;
    const char* params;  // parameter types as the type library gives them
};
const Method kMethods[19] = {
    {L"DoModal", "long*"},
    {L"InitKamvioDlg", "long*,long*,IUnknown*,long*"},
    {L"CreateKamvioDlg", "long*"},
    {L"DestroyKamvioDlg", "long*"},
    {L"GetDeviceCounts", "unsigned long*,long*"},
    {L"GetSouceInfo", "unsigned long,long*,long*"},
    {L"Connect", "long*,long*"},
    {L"Disconnect", "long*"},
    {L"PopSettingDlg", "long*"},
    {L"TakePhoto", "long*"},
    {L"OpenViewFinder", "long,long*"},
    {L"OpenCameraLCDView", "long,long*"},
    {L"GetMaxZoomPos", "unsigned long*,long*"},
    {L"SetZoomPos", "unsigned long,long*"},
    {L"GetCurrentZoomPos", "unsigned long*,long*"},
    {L"InitDCSettingByIniFile", "BSTR,long*"},
    {L"SetDestFrameSize", "unsigned long,unsigned long,long*"},
    {L"SetAdjustLinePos", "unsigned long,unsigned long*,unsigned long,unsigned long*,long*"},
    {L"IsConnected", "long*,long*"},
};

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(S_OK, LoadTypeLibEx(KamvioPath().c_str(), REGKIND_NONE, library_.put())); }
    ComPtr<ITypeLib> library_;
};

TEST_F(TypeLibrary, DescribesTheLibraryWithItsVersionAndLocale) {
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(LIBID_KAMVIOLib, attr->guid));
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(0x409u, attr->lcid);
    library_->ReleaseTLibAttr(attr);
    BSTR name = nullptr, help = nullptr;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, &name, &help, nullptr, nullptr));
    UniqueBstr n(name), h(help);
    EXPECT_STREQ(L"KAMVIOLib", name);
    EXPECT_STREQ(L"Kamvio 1.0 Type Library", help);
    EXPECT_EQ(2u, library_->GetTypeInfoCount());
}

TEST_F(TypeLibrary, DescribesTheCreatableClassWithItsDefaultInterface) {
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, library_->GetTypeInfoOfGuid(CLSID_OvCanonSDK, coclass.put()));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
    EXPECT_EQ(TKIND_COCLASS, attr->typekind);
    EXPECT_EQ(TYPEFLAG_FCANCREATE, attr->wTypeFlags);
    EXPECT_EQ(1, attr->cImplTypes);
    coclass->ReleaseTypeAttr(attr);
    std::wstring help;
    EXPECT_EQ(L"OvCanonSDK", Doc(coclass.get(), MEMBERID_NIL, &help));
    EXPECT_EQ(L"OvCanonSDK Class", help);
    INT flags = 0;
    ASSERT_EQ(S_OK, coclass->GetImplTypeFlags(0, &flags));
    EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, flags);
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> itf;
    ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(0, &ref));
    ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(ref, itf.put()));
    EXPECT_EQ(L"IOvCanonSDK", Doc(itf.get(), MEMBERID_NIL));
}

TEST_F(TypeLibrary, DescribesTheDualInterfaceMethodByMethod) {
    ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(S_OK, library_->GetTypeInfoOfGuid(IID_IOvCanonSDK, dispatch.put()));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, dispatch->GetTypeAttr(&attr));
    EXPECT_EQ(TKIND_DISPATCH, attr->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE, attr->wTypeFlags);
    dispatch->ReleaseTypeAttr(attr);
    std::wstring help;
    Doc(dispatch.get(), MEMBERID_NIL, &help);
    EXPECT_EQ(L"IOvCanonSDK Interface", help);

    // The vtable side of the dual interface.
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(-1, &ref));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, vtable.put()));
    ASSERT_EQ(S_OK, vtable->GetTypeAttr(&attr));
    EXPECT_EQ(TKIND_INTERFACE, attr->typekind);
    EXPECT_EQ(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE, attr->wTypeFlags);
    WORD functions = attr->cFuncs;
    vtable->ReleaseTypeAttr(attr);
    ASSERT_EQ(19, functions);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* f = nullptr;
        ASSERT_EQ(S_OK, vtable->GetFuncDesc(i, &f));
        const Method& m = kMethods[i];
        EXPECT_EQ(static_cast<MEMBERID>(i + 1), f->memid) << i;
        EXPECT_EQ(static_cast<SHORT>((7 + i) * sizeof(void*)), f->oVft) << "slot after IDispatch's seven";
        EXPECT_EQ(CC_STDCALL, f->callconv);
        EXPECT_EQ(FUNC_PUREVIRTUAL, f->funckind);
        EXPECT_EQ(VT_HRESULT, f->elemdescFunc.tdesc.vt);
        std::string params;
        for (SHORT p = 0; p < f->cParams; ++p) {
            params += (p ? "," : "") + TypeName(f->lprgelemdescParam[p].tdesc);
            USHORT direction = f->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT);
            EXPECT_NE(PARAMFLAG_FOUT, direction) << "no parameter is an out parameter";
        }
        EXPECT_EQ(m.params, params) << i;
        std::wstring methodHelp;
        EXPECT_EQ(m.name, Doc(vtable.get(), f->memid, &methodHelp));
        EXPECT_EQ(std::wstring(L"method ") + m.name, methodHelp);
        vtable->ReleaseFuncDesc(f);
    }
}

// ---- other resources

TEST(ComponentResources, CarriesItsStringsAndRegistryScript) {
    char text[64] = {};
    ASSERT_GT(LoadStringA(KamvioModule(), 100, text, sizeof text), 0);
    EXPECT_STREQ("Kamvio", text);
    ASSERT_GT(LoadStringA(KamvioModule(), 102, text, sizeof text), 0);
    EXPECT_STREQ("OvCanonSDK Class", text);

    HRSRC script = FindResourceA(KamvioModule(), MAKEINTRESOURCEA(103), "REGISTRY");
    ASSERT_TRUE(script);
    std::string body(static_cast<const char*>(LockResource(LoadResource(KamvioModule(), script))),
                     SizeofResource(KamvioModule(), script));
    EXPECT_NE(std::string::npos, body.find("InprocServer32 = s '%MODULE%'"));
    EXPECT_NE(std::string::npos, body.find("ForceRemove {C980C195-D310-4D7B-8A0F-41B7232949E5}"));
    EXPECT_TRUE(FindResourceA(KamvioModule(), MAKEINTRESOURCEA(1), "TYPELIB"));
    EXPECT_TRUE(FindResourceA(KamvioModule(), MAKEINTRESOURCEA(201), MAKEINTRESOURCEA(5))) << "camera window template";
}

TEST(ComponentResources, CarriesTheVersionBlock) {
    std::wstring path = KamvioPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(4, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(4, 0), fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const wchar_t* expected[][2] = {{L"FileVersion", L"1, 0, 0, 4"},    {L"ProductVersion", L"1, 0, 0, 4"},
                                    {L"FileDescription", L"Kamvio Module"}, {L"ProductName", L"Kamvio Module"},
                                    {L"InternalName", L"Kamvio"},       {L"OriginalFilename", L"Kamvio.DLL"},
                                    {L"OLESelfRegister", L""}};
    for (auto& entry : expected) {
        std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + entry[0];
        wchar_t* value = nullptr;
        length = 0;
        ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << key.size();
        EXPECT_STREQ(entry[1], length ? value : L"");
    }
}

}  // namespace
