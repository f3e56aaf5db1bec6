#include "tests/camera/camera_fixture.h"

#include <tlhelp32.h>

#include "platform/handles.h"
#include "sdk/sdk_loader.h"
#include "tests/common/test_support.h"

namespace {

const char kTwoCameras[] =
    "[Simulator]\nCameras=2\n"
    "[Camera1]\nModel=Test Compact\nCapability=4\nVolumes=1\nVolumeSpace=1000000,500000\n"
    "ZoomMax=10\nZoomOther=3\nZoomPos=2\nViewFps=30\nItems=0x20:1:3000,0x10:1:700\n"
    "[Camera2]\nModel=Test Reflex\nPropertyName=EOS 400D\nCapability=12\nVolumes=1\n"
    "VolumeSpace=2000000,1000000\nViewFps=30\nItems=0x20:2:5000,0x10:1:700\n";

}  // namespace

RecordingOwner::RecordingOwner() {
    m_hwnd = test_support::ClassWindow("KamvioRecordingOwner", "", 0, 0, 0, WindowProc, HWND_MESSAGE, nullptr, this);
}

LRESULT CALLBACK RecordingOwner::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = test_support::WindowObject<RecordingOwner>(hwnd, message, lParam);
    if (!self || message < WM_USER) return DefWindowProcA(hwnd, message, wParam, lParam);
    const char* text = message == WM_CAM_STATUS ? reinterpret_cast<const char*>(lParam)
                       : message == WM_CAM_FILE_SAVED ? reinterpret_cast<const char*>(wParam)
                                                      : nullptr;
    std::string carried = text ? text : "";
    if (message == WM_CAM_FRAME && wParam) carried.assign(reinterpret_cast<const char*>(wParam), size_t(lParam));
    self->m_received.push_back({message, wParam, lParam, InSendMessage() != FALSE, carried});
    for (ReleaseReport r; message == WM_CAM_RELEASE_REPORT && self->controller && self->controller->TakeReleaseReport(&r);)
        self->reports.push_back(r);
    if (message == WM_CAM_FRAME && self->controller && self->drawFrames)
        self->controller->FrameDrawn(reinterpret_cast<const void*>(wParam));
    if (self->onMessage) self->onMessage(self->m_received.back());
    return 0;
}

void ControllerTest::SetUp() {
    ASSERT_TRUE(Sim().SimReset);
    folder = EmptyFolder("ctl_shots");
    Fresh();
}

void ControllerTest::Fresh(const std::string& extra) {
    if (camera && IsSdkLoaded()) camera->End();
    ASSERT_FALSE(IsSdkLoaded());
    ASSERT_EQ(1u, Sim().SimReset());
    ASSERT_EQ(1u, Sim().SimLoadConfigText((kTwoCameras + extra).c_str()));
    owner.controller = nullptr;
    camera = std::make_unique<CameraController>();
    owner.controller = camera.get();
    camera->SetOwner(owner.Handle());
    camera->SetSaveFolder(folder.c_str());
    Drain();  // what the last controller's threads posted
    owner.Clear();
    test_support::ClearMessageBoxes();
}

void ControllerTest::TearDown() {
    if (camera && camera->IsConnected()) camera->Disconnect();
    if (camera && IsSdkLoaded()) camera->End();
    owner.controller = nullptr;
    camera.reset();
    owner.onMessage = nullptr;
    owner.drawFrames = true;
    Drain();
    test_support::ClearMessageBoxes();
}

SourceInfo ControllerTest::Source(uint32_t index) {
    static SourceInfo records[256];
    uint32_t count = 0;
    return camera->GetAllCameraSourceInfo(records, &count) && index < count ? records[index] : SourceInfo{};
}

bool ControllerTest::WorkerLives() const { return camera && CameraControllerProbe::WorkerLives(*camera); }


int ProcessThreadCount() {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    return count;
}
