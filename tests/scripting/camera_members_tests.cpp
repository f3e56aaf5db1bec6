// Members of Kamvio.Camera called by name as script engines call them: wrong and missing
// arguments fail with an error and its description; settings by label reach the camera and the
// settings file; the object answers the interfaces automation clients ask for; the live view
// lives in a client's window and survives it.
#include "tests/scripting/camera_client.h"

using namespace camera_client;

namespace {

class CameraMembers : public CameraTest {};

Value Numbers(std::initializer_list<long> numbers) {
    Value array;
    array.v.vt = VT_ARRAY | VT_I4;
    array.v.parray = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(numbers.size()));
    LONG i = 0;
    for (long n : numbers) SafeArrayPutElement(array.v.parray, &i, &n), ++i;
    return array;
}

TEST_F(CameraMembers, WrongOrMissingArgumentsFailWithAnErrorAndADescription) {
    StartCamera();
    Value unknown;
    unknown.v.vt = VT_UNKNOWN;
    const struct {
        const wchar_t* member;
        std::vector<Value> args;
        HRESULT expected;
        const char* description;  // null: the dispatcher refuses before the member runs
    } cases[] = {
        {L"Connect", {Value(99)}, E_INVALIDARG, "No such camera: 99"},
        {L"Connect", {Value(L"Nikon")}, E_INVALIDARG, "No such camera: Nikon"},
        {L"Connect", {unknown}, DISP_E_TYPEMISMATCH, "Wrong type of argument: camera"},
        {L"TakePhoto", {}, kNoCamera, "No camera is connected."},
        {L"TakePhoto", {Value(L"soon")}, DISP_E_TYPEMISMATCH, "Wrong type of argument: timeoutMs"},
        {L"TakePhoto", {Value(-1)}, E_INVALIDARG, "Invalid argument: timeoutMs"},
        {L"TakeTimedPhotos", {Value(1), Value(1)}, E_INVALIDARG,
         "Please set the timer interval from 2 seconds to 30 seconds!"},
        {L"TakeTimedPhotos", {Value(5)}, DISP_E_BADPARAMCOUNT, nullptr},
        {L"Zoom", {}, kNoCamera, "No camera is connected."},
        {L"GetSetting", {Value(L"Colour")}, E_INVALIDARG,
         "Unknown setting: Colour (settings: Image, WhiteBalance, ExposureCompensation, Flash, ShootingMode, Av, "
         "Tv, ISO, Metering, PhotoEffect, FocusingPoint, AFLight, Macro, OwnerName)"},
        {L"SetSetting", {Value(L"WhiteBalance"), Value(L"Daylight")}, kNoCamera, "No camera is connected."},
        {L"SetSetting", {Value(L"WhiteBalance")}, DISP_E_BADPARAMCOUNT, nullptr},
        {L"SettingChoices", {unknown}, DISP_E_TYPEMISMATCH, nullptr},
        {L"ApplyStoredSettings", {Value(5)}, DISP_E_TYPEMISMATCH, "Wrong type of argument: cameraName"},
        {L"ShowLiveView", {Value(0), Value(0), Value(0), Value(320), Value(240)}, E_INVALIDARG,
         "Invalid argument: hwndParent"},
        {L"SetGuideLines", {Value(L"117"), Numbers({150})}, DISP_E_TYPEMISMATCH, "Wrong type of argument: xPositions"},
        {L"SetDestinationFrame", {Value(-350), Value(450)}, E_INVALIDARG, "Invalid argument: width"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.member));
        Outcome out = Do(c.member, c.args);
        EXPECT_EQ(c.expected, out.hr);
        if (c.description) {
            EXPECT_EQ(c.description, out.description);
        }
    }
    EXPECT_EQ(E_INVALIDARG, Put(camera_.get(), L"SaveFolder", Value(L"Z:\\no\\such\\folder")).hr);
    EXPECT_EQ(DISP_E_UNKNOWNNAME, Do(L"TakePhotos").hr);
    EXPECT_EQ(S_OK, Do(L"SetGuideLines", {Numbers({117, 233}), Numbers({})}).hr) << "an empty list is a list";
}

TEST_F(CameraMembers, NullPointersAndEmptyReferencesAreRefused) {
    StartCamera();
    IKamvioCamera* c = camera_.get();
    VARIANT none = Value::Missing().v, nowhere = {};
    nowhere.vt = VT_BYREF | VT_I4;  // a reference to nothing
    UniqueBstr name(SysAllocString(L"WhiteBalance"));
    const std::function<HRESULT()> outs[] = {
        [&] { return c->get_CameraCount(nullptr); },   [&] { return c->CameraNames(nullptr); },
        [&] { return c->get_State(nullptr); },         [&] { return c->get_IsConnected(nullptr); },
        [&] { return c->get_CameraName(nullptr); },    [&] { return c->TakePhoto(none, nullptr); },
        [&] { return c->get_SaveFolder(nullptr); },    [&] { return c->TakeTimedPhotos(2, 1, none, nullptr); },
        [&] { return c->get_Zoom(nullptr); },          [&] { return c->get_ZoomMax(nullptr); },
        [&] { return c->SettingNames(nullptr); },      [&] { return c->SettingChoices(name.get(), nullptr); },
        [&] { return c->GetSetting(name.get(), nullptr); }, [&] { return c->get_AutoReconnect(nullptr); },
    };
    for (const auto& call : outs) EXPECT_EQ(E_POINTER, call());
    const std::function<HRESULT()> ins[] = {
        [&] { return c->Connect(nowhere); },           [&] { return c->SetSetting(nullptr, nullptr); },
        [&] { return c->put_SaveFolder(nullptr); },    [&] { return c->SetGuideLines(nowhere, none); },
        [&] { return c->ApplyStoredSettings(nowhere); },
    };
    for (const auto& call : ins) EXPECT_TRUE(FAILED(call()));
}

TEST_F(CameraMembers, SettingsByLabelReachTheCameraReadBackAndAreStored) {
    StartCamera();
    ASSERT_EQ(S_OK, Do(L"Connect", {Value(0)}).hr);
    const std::string ini = test_support::ExeFolder() + "\\SetData.ini";
    const struct {
        const wchar_t* name;
        const wchar_t* label;
        const char* readBack;
        const char* simKey;
        uint32_t simValue;
        const char* storedKey;
    } cases[] = {
        {L"WhiteBalance", L"Daylight", "Daylight", "WB", 1, "White Balence"},
        {L"ExposureCompensation", L"+1 1/3", "+1  1/3", "ExpComp", 13, "Exposal Compensation"},
        {L"ISO", L"iso 100", "ISO 100", "RelCam.0x0800000C", 72, "ISO Speed"},
        {L"Image", L"Medium/Fine", "Medium/Fine", "ImageSize", 1, "Size"},
        {L"Metering", L"Spot", "Spot", "RelCam.0x08000004", 1, "Metering Mode"},
        {L"ShootingMode", L"Manual", "Manual", "ShootingMode", 4, "Shooting Mode"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.name));
        Outcome set = Do(L"SetSetting", {Value(c.name), Value(c.label)});
        ASSERT_EQ(S_OK, set.hr) << set.description;
        EXPECT_EQ(c.readBack, Joined(Do(L"GetSetting", {Value(c.name)}).result.v));
        uint32_t value = 0xFFFF;
        EXPECT_TRUE(Sim().SimGetSetting(c.simKey, &value));
        EXPECT_EQ(c.simValue, value);
        EXPECT_EQ(c.simValue, GetPrivateProfileIntA("SimCam Compact Z10Setting", c.storedKey, -1, ini.c_str()));
    }
    ASSERT_EQ(S_OK, Do(L"SetSetting", {Value(L"OwnerName"), Value(L"Booth 7")}).hr);
    char owner[64] = {};
    Sim().SimGetSettingText("Owner", owner, sizeof owner);
    EXPECT_STREQ("Booth 7", owner);

    Outcome refused = Do(L"SetSetting", {Value(L"whitebalance"), Value(L"Purple")});
    EXPECT_EQ(E_INVALIDARG, refused.hr);
    EXPECT_EQ("No such choice: Purple (choices: Auto, Daylight, Cloudy, Tungsten, Fluorescent, Flash, Custom)",
              refused.description);
    EXPECT_EQ("Off|Auto|On|Red eye|Slow sync|Auto (Red eye)|On (Red eye)",
              Joined(Do(L"SettingChoices", {Value(L"Flash")}).result.v));
}

TEST_F(CameraMembers, AnswersTheInterfacesOfAnAutomationObjectWithEvents) {
    StartCamera();
    ComPtr<IProvideClassInfo2> info;
    ASSERT_EQ(S_OK, camera_->QueryInterface(IID_IProvideClassInfo2, info.put_void()));
    GUID events = GUID_NULL;
    EXPECT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events));
    EXPECT_TRUE(IsEqualGUID(DIID__IKamvioCameraEvents, events));
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(S_OK, info->GetClassInfo(coclass.put()));
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(S_OK, coclass->GetTypeAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(CLSID_KamvioCamera, attr->guid));
    coclass->ReleaseTypeAttr(attr);

    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(S_OK, camera_->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IDispatch, point.put()));
    ComPtr<IEnumConnectionPoints> all;
    ASSERT_EQ(S_OK, container->EnumConnectionPoints(all.put()));
    IConnectionPoint* found[2] = {};
    ULONG count = 0;
    EXPECT_EQ(S_FALSE, all->Next(2, found, &count));
    ASSERT_EQ(1u, count);
    IID iid = IID_NULL;
    found[0]->GetConnectionInterface(&iid);
    found[0]->Release();
    EXPECT_TRUE(IsEqualIID(DIID__IKamvioCameraEvents, iid));

    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, camera_->QueryInterface(IID_ISupportErrorInfo, support.put_void()));
    EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IOvCanonSDK));
}

HWND ClientWindow() {
    return test_support::ClassWindow("KamvioScriptingClient", "Client", WS_OVERLAPPEDWINDOW, 640, 480);
}

TEST_F(CameraMembers, LiveViewShowsInTheClientsWindowAndOutlivesItOnlyWhenHidden) {
    StartCamera();
    Advise();
    ASSERT_EQ(S_OK, Do(L"Connect").hr);
    HWND client = ClientWindow();
    ASSERT_EQ(S_OK, Do(L"ShowLiveView", {Value(static_cast<int>(reinterpret_cast<LONG_PTR>(client))), Value(10),
                                         Value(20), Value(400), Value(300)}).hr);
    HWND view = FindWindowExA(client, nullptr, "#32770", nullptr);
    ASSERT_TRUE(view) << "the camera window is the client's child";
    RECT place = {};
    GetWindowRect(view, &place);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ((std::vector<LONG>{10, 20, 410, 320}),
              (std::vector<LONG>{place.left, place.top, place.right, place.bottom}));
    const uint32_t frames = Sim().SimFramesDelivered();
    test_support::PumpFor(300);
    EXPECT_GT(Sim().SimFramesDelivered(), frames) << "the live view runs";

    // Hidden first, the camera stays when the client's window goes.
    ASSERT_EQ(S_OK, Do(L"HideLiveView").hr);
    EXPECT_FALSE(FindWindowExA(client, nullptr, "#32770", nullptr));
    ASSERT_EQ(S_OK, Do(L"ShowLiveView", {Value(static_cast<int>(reinterpret_cast<LONG_PTR>(client))), Value(0),
                                         Value(0), Value(320), Value(240)}).hr);
    Events();
    // Not hidden: the camera window goes with the client's, and the object says so.
    DestroyWindow(client);
    EXPECT_EQ("0", Joined(Do(L"State").result.v));
    EXPECT_EQ((std::vector<std::string>{"Disconnected(SimCam Compact Z10,3)"}), Events());
    EXPECT_EQ(S_OK, Do(L"Connect").hr) << "a new camera window serves the next connection";
}

}  // namespace
