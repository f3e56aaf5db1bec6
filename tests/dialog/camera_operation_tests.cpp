// The operations behind the interface methods, with and without the window.
#include <windows.h>
#include <commctrl.h>

#include "tests/dialog/camera_window_fixture.h"

using namespace dialog_test;
using Access = CameraDialogTestAccess;

namespace {
bool FolderExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

TEST_F(CameraWindowTest, ApplyParaKeepsACopyAndChoosesTheSaveFolder) {
    CameraDialog d(nullptr);
    const std::string existing = TestFile("saves");
    CreateDirectoryA(existing.c_str(), nullptr);

    KamvioPara block = MakePara(host.hwnd(), 1, 1, existing.c_str());
    EXPECT_TRUE(d.ApplyPara(&block));
    EXPECT_EQ(memcmp(&Access::Para(d), &block, sizeof block), 0);
    EXPECT_EQ(Access::SaveFolder(d), existing);

    // One trailing backslash is allowed by the folder test; the path is kept as given.
    const std::string slashed = existing + "\\";
    block.pszSaveFolder = slashed.c_str();
    EXPECT_TRUE(d.ApplyPara(&block));
    EXPECT_EQ(Access::SaveFolder(d), slashed);

    for (const char* missing : {"", "Z:\\no\\such\\folder", static_cast<const char*>(nullptr)}) {
        block.pszSaveFolder = missing;
        EXPECT_TRUE(d.ApplyPara(&block));
        EXPECT_EQ(Access::SaveFolder(d), "c:\\Canon");
    }
    EXPECT_TRUE(FolderExists("c:\\Canon"));

    // A path past the 259-character limit is not taken.
    const std::string longPath(400, 'p');
    block.pszSaveFolder = longPath.c_str();
    EXPECT_TRUE(d.ApplyPara(&block));
    EXPECT_EQ(Access::SaveFolder(d), "c:\\Canon");

    EXPECT_TRUE(d.ApplyPara(nullptr));
    const KamvioPara zero{};
    EXPECT_EQ(memcmp(&Access::Para(d), &zero, sizeof zero), 0);
    EXPECT_EQ(Access::SaveFolder(d), "c:\\Canon");
}

TEST_F(CameraWindowTest, SaveFolderTestNeedsAnExistingNonEmptyPath) {
    EXPECT_FALSE(SaveFolderExists(nullptr));
    EXPECT_FALSE(SaveFolderExists(""));
    EXPECT_FALSE(SaveFolderExists("Z:\\no\\such\\folder"));
    EXPECT_TRUE(SaveFolderExists(TestFolder().c_str()));
    EXPECT_TRUE(SaveFolderExists((TestFolder() + "\\").c_str()));
    EXPECT_TRUE(SaveFolderExists("c:\\"));
    EXPECT_FALSE(SaveFolderExists(std::string(5000, 'x').c_str()));
}

TEST_F(CameraWindowTest, OperationsWithoutWindowFailWithoutTouchingTheCamera) {
    CameraDialog d(nullptr);
    d.ApplyPara(nullptr);
    uint32_t count = 77, zoom = 77, second = 77;
    SourceInfo records[2] = {};
    BOOL connected = 5;
    EXPECT_FALSE(d.GetDeviceCounts(&count));
    EXPECT_FALSE(d.GetSouceInfo(records, 2));
    EXPECT_FALSE(d.Connect(&records[0]));
    EXPECT_FALSE(d.TakePhoto());
    EXPECT_FALSE(d.OpenViewFinder(TRUE));
    EXPECT_FALSE(d.OpenCameraLCDView(TRUE));
    EXPECT_FALSE(d.GetMaxZoomPos(&zoom, &second));
    EXPECT_FALSE(d.SetZoomPos(1));
    EXPECT_FALSE(d.GetCurrentZoomPos(&zoom));
    EXPECT_FALSE(d.PopSettingDlg());
    EXPECT_TRUE(d.Disconnect());  // nothing to undo
    EXPECT_TRUE(d.IsConnected(&connected));
    EXPECT_FALSE(connected);
    EXPECT_EQ(zoom, 77u);
    EXPECT_EQ(second, 77u);
    EXPECT_EQ(sim().SimLogCount(), 0u);
}

TEST_F(CameraWindowTest, NullOutPointersAreRefused) {
    OpenModeless(1);
    uint32_t value = 0;
    EXPECT_FALSE(dialog->GetDeviceCounts(nullptr));
    EXPECT_FALSE(dialog->GetSouceInfo(nullptr, 2));
    EXPECT_FALSE(dialog->Connect(nullptr));
    EXPECT_FALSE(dialog->GetMaxZoomPos(nullptr, &value));
    EXPECT_FALSE(dialog->GetMaxZoomPos(&value, nullptr));
    EXPECT_FALSE(dialog->GetCurrentZoomPos(nullptr));
    EXPECT_FALSE(dialog->IsConnected(nullptr));
    EXPECT_FALSE(dialog->InitDCSettingByIniFile(nullptr));
    EXPECT_TRUE(dialog->InitDCSettingByIniFile("SimCam Compact Z10"));
}

TEST_F(CameraWindowTest, SourcesAreCountedAndListedThroughTheController) {
    OpenModeless(0);
    uint32_t count = 0;
    EXPECT_TRUE(dialog->GetDeviceCounts(&count));
    EXPECT_EQ(count, 2u);
    SourceInfo records[2] = {};
    EXPECT_TRUE(dialog->GetSouceInfo(records, 2));
    EXPECT_NE(records[0].sourceType, 0u);
    EXPECT_STRNE(records[0].modelName, records[1].modelName);
}

TEST_F(CameraWindowTest, NoSourceCountsZeroAndFails) {
    Configure("[Simulator]\nCameras=0\n");
    OpenModeless(0);
    uint32_t count = 9;
    EXPECT_FALSE(dialog->GetDeviceCounts(&count));
    EXPECT_EQ(count, 0u);
}

TEST_F(CameraWindowTest, ConnectAndDisconnectThroughTheInterface) {
    OpenModeless(0);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[1]));
    EXPECT_EQ(Access::Source(*dialog), records[1].modelName);
    BOOL connected = FALSE;
    ASSERT_TRUE(dialog->IsConnected(&connected));
    EXPECT_TRUE(connected);
    EXPECT_FALSE(dialog->Connect(&records[0]));  // one source at a time
    EXPECT_EQ(Access::Source(*dialog), records[1].modelName);

    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    ASSERT_TRUE(dialog->Disconnect());
    EXPECT_FALSE(Access::ViewStarted(*dialog));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    dialog->IsConnected(&connected);
    EXPECT_FALSE(connected);
    // A record of no source is refused.
    SourceInfo none{};
    EXPECT_FALSE(dialog->Connect(&none));
}

TEST_F(CameraWindowTest, OpenViewFinderStartsOnceThenOnlyShowsOrHides) {
    const RECT area{0, 0, 480, 400};
    OpenModeless(0, &area);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[0]));
    ASSERT_TRUE(dialog->OpenViewFinder(FALSE));  // the first call starts and shows, whatever the flag
    EXPECT_TRUE(Access::ViewStarted(*dialog));
    EXPECT_TRUE(Access::ViewShown(*dialog));
    ASSERT_TRUE(dialog->OpenViewFinder(FALSE));
    EXPECT_FALSE(Access::ViewShown(*dialog));
    EXPECT_EQ(WindowPixel(240, 200), CameraDialog::kBackground);
    ASSERT_TRUE(dialog->OpenViewFinder(TRUE));
    EXPECT_TRUE(Access::ViewShown(*dialog));
    EXPECT_EQ(sim().Count("CDStartViewfinder"), 1);
    // Frames from the simulated camera reach the window.
    EXPECT_TRUE(test_support::PumpUntil([&] { return WindowPixel(240, 200) != CameraDialog::kBackground; }, 5000));
}

TEST_F(CameraWindowTest, FailedViewfinderStartFailsTheOperation) {
    OpenModeless(0);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[0]));
    sim().SimSetFault("CDLockUI", cdNOT_CONNECTED, 1);
    EXPECT_FALSE(dialog->OpenViewFinder(TRUE));
    EXPECT_FALSE(Access::ViewStarted(*dialog));
    EXPECT_TRUE(dialog->OpenViewFinder(TRUE));
}

TEST_F(CameraWindowTest, ZoomOperationsReportTheCameraAndStoreThePosition) {
    Configure("[Camera1]\nZoomMax=9\nZoomOther=4\nZoomPos=1\n");
    OpenModeless(1);
    ConnectWithButton(0);
    HWND slider = GetDlgItem(hwnd(), IDC_HndlCnnDlg_ZomSldr);
    ASSERT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 1);

    uint32_t maxPos = 0, second = 0;
    ASSERT_TRUE(dialog->GetMaxZoomPos(&maxPos, &second));
    // The SDK's second value goes to the first out-argument and its first to the second.
    EXPECT_EQ(maxPos, 4u);
    EXPECT_EQ(second, 9u);

    ASSERT_TRUE(dialog->SetZoomPos(6));
    uint32_t position = 0;
    ASSERT_TRUE(dialog->GetCurrentZoomPos(&position));
    EXPECT_EQ(position, 6u);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 1);  // the slider stays
    const std::string section = ComboText(0) + "Setting";
    EXPECT_EQ(IniValue(TestFile("SetData.ini"), section.c_str(), "Zoom Pos"), "6");

    EXPECT_FALSE(dialog->SetZoomPos(10));  // above the maximum
    EXPECT_EQ(IniValue(TestFile("SetData.ini"), section.c_str(), "Zoom Pos"), "6");
}

TEST_F(CameraWindowTest, TakePhotoAndLcdViewGoToTheController) {
    OpenModeless(0);
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[0]));
    sim().SimLogClear();
    EXPECT_TRUE(dialog->TakePhoto());
    EXPECT_EQ(sim().Count("CDRelease"), 1);
    EXPECT_TRUE(dialog->OpenCameraLCDView(TRUE));
    EXPECT_TRUE(dialog->OpenCameraLCDView(FALSE));
    auto calls = sim().Calls("CDSelectViewFinderCameraOutput");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].args[1], cdVF_OUTPUT_LCD_ON);
    EXPECT_EQ(calls[1].args[1], cdVF_OUTPUT_LCD_OFF);
    test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000);
}

TEST_F(CameraWindowTest, MemoryModeNotifiesWithoutPathAndKeepsTheLastFile) {
    dialog = std::make_unique<CameraDialog>(host.hwnd());
    para = MakePara(host.hwnd(), 0, 2);
    dialog->ApplyPara(&para);
    ASSERT_TRUE(dialog->Create(host.hwnd()));
    WritePrivateProfileStringA("FINISHED", "File Path", "earlier.jpg", TestFile("FilePath.ini").c_str());
    SourceInfo records[2] = {};
    ASSERT_TRUE(dialog->GetSouceInfo(records, 2));
    ASSERT_TRUE(dialog->Connect(&records[0]));
    host.Clear();
    EXPECT_TRUE(dialog->TakePhoto());
    ASSERT_TRUE(test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000));
    EXPECT_EQ(host.Of(kMsgFileSaved).front().wParam, 0u);
    EXPECT_EQ(IniValue(TestFile("FilePath.ini"), "FINISHED", "File Path"), "earlier.jpg");
}

TEST_F(CameraWindowTest, PopSettingDlgNeedsAConnectedCamera) {
    OpenModeless(1);
    EXPECT_FALSE(dialog->PopSettingDlg());
    ConnectWithButton(0);
    EXPECT_TRUE(dialog->PopSettingDlg());
}

TEST_F(CameraWindowTest, OverlaySettingsAreOwnedCopies) {
    CameraDialog d(nullptr);
    EXPECT_TRUE(d.SetDestFrameSize(960, 720));
    EXPECT_EQ(Access::FrameWidth(d), 960u);
    uint32_t xs[2] = {100, 200};
    uint32_t ys[1] = {300};
    ASSERT_TRUE(d.SetAdjustLinePos(2, xs, 1, ys));
    xs[0] = 999;  // the host's array is not referenced
    ASSERT_EQ(Access::XCount(d), 2u);
    EXPECT_EQ(Access::XLines(d)[0], 100u);
    EXPECT_EQ(Access::XLines(d)[1], 200u);
    EXPECT_EQ(Access::YLines(d)[0], 300u);
    // A null array changes nothing.
    EXPECT_FALSE(d.SetAdjustLinePos(5, nullptr, 1, ys));
    EXPECT_FALSE(d.SetAdjustLinePos(1, xs, 5, nullptr));
    EXPECT_EQ(Access::XCount(d), 2u);
    EXPECT_EQ(Access::YCount(d), 1u);
    EXPECT_EQ(Access::XLines(d)[0], 100u);
    // Counts of zero are kept with empty arrays.
    ASSERT_TRUE(d.SetAdjustLinePos(0, xs, 0, ys));
    EXPECT_EQ(Access::XCount(d), 0u);
    EXPECT_NE(Access::XLines(d), nullptr);
}

TEST_F(CameraWindowTest, ImpossibleLineCountLeavesTheLinesMissing) {
    CameraDialog d(nullptr);
    uint32_t xs[1] = {1}, ys[1] = {2};
    ASSERT_TRUE(d.SetAdjustLinePos(1, xs, 1, ys));
    // The counts are taken as given; a count no array can hold leaves that array missing, so the
    // overlays are off, and the host's (short) arrays are never read.
    EXPECT_FALSE(d.SetAdjustLinePos(0xFFFFFFFFu, xs, 1, ys));
    EXPECT_EQ(Access::XCount(d), 0xFFFFFFFFu);
    EXPECT_EQ(Access::XLines(d), nullptr);
    EXPECT_FALSE(d.SetAdjustLinePos(1, xs, CameraDialog::kMaxAdjustLines + 1, ys));
    EXPECT_NE(Access::XLines(d), nullptr);
    EXPECT_EQ(Access::YLines(d), nullptr);
}
