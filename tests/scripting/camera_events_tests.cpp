// Events of Kamvio.Camera through its connection point, in the order documented: a shot of two
// items, a camera switched off, its return by self-healing, a busy camera, and a client that
// lets the object go from inside an event.
#include "tests/scripting/camera_client.h"

#include <thread>

using namespace camera_client;

namespace {

constexpr char kCompact[] = "SimCam Compact Z10";

class CameraEvents : public CameraTest {};

TEST_F(CameraEvents, ShotOfTwoItemsSavesEachFileThenCompletesWithBothInOrder) {
    StartCamera();  // camera 1: a picture (FV) and its thumbnail (TH) per shot
    Advise();
    ASSERT_EQ(S_OK, Do(L"Connect").hr);
    test_support::PumpFor(100);
    EXPECT_EQ((std::vector<std::string>{"Connected(SimCam Compact Z10,false)", "LiveViewAvailable(true)"}), Events());

    Outcome shot = Do(L"TakePhoto");
    ASSERT_EQ(S_OK, shot.hr) << shot.description;
    const std::vector<std::string> files = Split(Joined(shot.result.v));
    ASSERT_EQ(2u, files.size()) << Joined(shot.result.v);
    EXPECT_EQ((std::vector<std::string>{"FileSaved(" + files[0] + ")", "FileSaved(" + files[1] + ")",
                                        "ShotCompleted(" + files[0] + "|" + files[1] + ")"}),
              Events());
    // Each path names the file the camera sent, byte for byte, picture first.
    ASSERT_EQ(2u, Sim().SimSentItemCount());
    for (uint32_t i = 0; i < 2; ++i) {
        std::string sent(Sim().SimSentItemGet(i, nullptr, 0), '\0');
        Sim().SimSentItemGet(i, &sent[0], static_cast<uint32_t>(sent.size()));
        EXPECT_EQ(sent, ReadFileBytes(files[i])) << files[i];
    }
    EXPECT_EQ(0u, files[0].find(folder_ + "\\FV")) << files[0];
}

TEST_F(CameraEvents, SwitchedOffThenBackReconnectsByItselfWithItsStoredSettings) {
    StartCamera();
    Advise();
    ASSERT_EQ(S_OK, Put(camera_.get(), L"AutoReconnect", Value::Bool(true)).hr);
    ASSERT_EQ(S_OK, Do(L"Connect", {Value(L"simcam compact z10")}).hr) << "names match in any case";
    test_support::PumpUntil([&] { return log_.events.size() >= 2; });  // Connected, LiveViewAvailable
    Events();

    ASSERT_EQ(1u, Sim().SimPowerOff());
    test_support::PumpUntil([&] { return log_.events.size() >= 2; });
    EXPECT_EQ((std::vector<std::string>{"PoweredOff(SimCam Compact Z10)", "Disconnected(SimCam Compact Z10,2)"}),
              Events());
    EXPECT_EQ("2", Joined(Do(L"State").result.v)) << "gone, waiting for it";
    EXPECT_EQ(kCompact, Joined(Do(L"CameraName").result.v));

    // Stored while it was away (as the settings window stores it): Tungsten.
    WritePrivateProfileStringA("SimCam Compact Z10Setting", "White Balence", "3",
                               (test_support::ExeFolder() + "\\SetData.ini").c_str());
    ASSERT_EQ(1u, Sim().SimPowerOn());
    test_support::PumpUntil([&] { return log_.events.size() >= 2; });
    EXPECT_EQ((std::vector<std::string>{"Connected(SimCam Compact Z10,true)", "LiveViewAvailable(true)"}), Events());
    EXPECT_EQ("1", Joined(Do(L"State").result.v));
    uint32_t wb = 0;
    EXPECT_TRUE(Sim().SimGetSetting("WB", &wb));
    EXPECT_EQ(3u, wb);
    EXPECT_EQ(S_OK, Do(L"TakePhoto").hr) << "the camera that came back shoots";
}

TEST_F(CameraEvents, ShotAskedForWhileTheCameraIsGoneWaitsForItOrFailsInBoundedTime) {
    StartCamera();
    ASSERT_EQ(S_OK, Put(camera_.get(), L"AutoReconnect", Value::Bool(true)).hr);
    ASSERT_EQ(S_OK, Do(L"Connect").hr);
    Sim().SimPowerOff();
    test_support::PumpUntil([&] { return Joined(Do(L"State").result.v) == "2"; });

    const DWORD start = GetTickCount();
    Outcome gone = Do(L"TakePhoto", {Value(400)});
    EXPECT_EQ(kGone, gone.hr);
    EXPECT_EQ("The camera is gone.", gone.description);
    EXPECT_LT(GetTickCount() - start, 3000u);

    // Back while the shot waits for it.
    std::thread plug([] { Sleep(300), Sim().SimPowerOn(); });
    Outcome shot = Do(L"TakePhoto", {Value(10000)});
    plug.join();
    EXPECT_EQ(S_OK, shot.hr) << shot.description;
    EXPECT_EQ(2u, Split(Joined(shot.result.v)).size());
}

TEST_F(CameraEvents, BusyCameraFailsToConnectWithItsErrorAndShowsNoBox) {
    StartCamera("[Simulator]\nCameras=1\n[Camera1]\nBusy=1\n");
    Advise();
    ComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(S_OK, camera_->QueryInterface(IID_ISupportErrorInfo, support.put_void()));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IKamvioCamera));

    VARIANT first = Value::Missing().v;
    EXPECT_EQ(kBusy, camera_->Connect(first));
    EXPECT_EQ("The camera is busy.", ErrorDescription());
    test_support::PumpFor(300);  // a box would have shown by now
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty());
    EXPECT_EQ((std::vector<std::string>{}), Events()) << "neither Connected nor an Error event";
    EXPECT_EQ("0", Joined(Do(L"State").result.v));
}

TEST_F(CameraEvents, ShotsAskedForFromInsideTheEventsOfAShotAreRefusedWhileItRunsThenTaken) {
    StartCamera();
    Advise();
    ASSERT_EQ(S_OK, Do(L"Connect").hr);
    std::vector<HRESULT> inner;
    std::string innerFiles;
    int asked = 0;  // counted before asking: the inner shot has events of its own
    log_.onEvent = [&](DISPID id) {
        if (id == 1 && asked == 0 && ++asked) inner.push_back(Do(L"TakePhoto").hr);  // its files are on their way
        if (id == 2 && asked == 1 && ++asked) {
            Outcome next = Do(L"TakePhoto");
            inner.push_back(next.hr);
            innerFiles = Joined(next.result.v);
        }
    };
    Outcome outer = Do(L"TakePhoto");
    EXPECT_EQ(S_OK, outer.hr);
    EXPECT_EQ((std::vector<HRESULT>{kBusy, S_OK}), inner);
    EXPECT_EQ(2u, Split(innerFiles).size());
    EXPECT_NE(innerFiles, Joined(outer.result.v)) << "each shot returns its own files";
}

TEST_F(CameraEvents, ClientLettingTheObjectGoInsideAnEventEndsTheShotCleanly) {
    StartCamera();
    Advise();
    ASSERT_EQ(S_OK, Do(L"Connect").hr);
    test_support::PumpUntil([&] { return log_.events.size() >= 2; });
    Events();
    // The client's sink holds the last references: the point and the object.
    IKamvioCamera* object = camera_.detach();
    IConnectionPoint* point = point_.detach();
    log_.onEvent = [&](DISPID id) {
        if (id != 1 || !object) return;  // the first FileSaved
        point->Unadvise(cookie_);
        point->Release();
        std::exchange(object, nullptr)->Release();
    };
    VARIANT files;
    VariantInit(&files);
    object->TakePhoto(Value::Missing().v, &files);  // it returns, whatever it says
    VariantClear(&files);
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(1u, log_.events.size()) << "no event after the release: " << log_.events.back();
    uint32_t open = 1;
    EXPECT_TRUE(Sim().SimGetSetting("OpenSources", &open));
    EXPECT_EQ(0u, open) << "the camera was let go";
}

}  // namespace
