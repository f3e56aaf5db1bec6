// Null and oversized interface arguments, names and paths at and beyond their buffers, and a
// parameter block of random bytes. Host buffers sit before an inaccessible page or between
// canaries, so that a write or read past their end shows.
#include <cstring>
#include <functional>
#include <random>

#include "tests/bad_input/bad_input_fixture.h"

using namespace bad_input;

namespace {

constexpr uint32_t kCanary = 0xC0FFEE11;
constexpr char kDefaultFolder[] = "c:\\Canon\\";

struct Guarded {
    uint32_t before = kCanary, value = kCanary, after = kCanary;
    bool Intact() const { return before == kCanary && after == kCanary; }
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

TEST_F(BadInputTest, NullArgumentsAreRefusedAndChangeNothing) {
    ASSERT_EQ(S_OK, Open());
    ASSERT_EQ(S_OK, ConnectFirst());
    const HWND window = Dialog();
    ULONG lines[1] = {10};
    IOvCanonSDK* o = object.get();
    const std::pair<const char*, std::function<HRESULT()>> refused[] = {
        {"InitKamvioDlg(null block)", [&] { return o->InitKamvioDlg(nullptr, nullptr, nullptr, nullptr); }},
        {"GetDeviceCounts(null)", [&] { return o->GetDeviceCounts(nullptr, nullptr); }},
        {"GetSouceInfo(1, null)", [&] { return o->GetSouceInfo(1, nullptr, nullptr); }},
        {"GetSouceInfo(0, null)", [&] { return o->GetSouceInfo(0, nullptr, nullptr); }},
        {"Connect(null)", [&] { return o->Connect(nullptr, nullptr); }},
        {"GetMaxZoomPos(null)", [&] { return o->GetMaxZoomPos(nullptr, nullptr); }},
        {"GetCurrentZoomPos(null)", [&] { return o->GetCurrentZoomPos(nullptr, nullptr); }},
        {"InitDCSettingByIniFile(null)", [&] { return o->InitDCSettingByIniFile(nullptr, nullptr); }},
        {"SetAdjustLinePos(1, null, 1, y)", [&] { return o->SetAdjustLinePos(1, nullptr, 1, lines, nullptr); }},
        {"SetAdjustLinePos(1, x, 1, null)", [&] { return o->SetAdjustLinePos(1, lines, 1, nullptr, nullptr); }},
        {"SetAdjustLinePos(0, null, 0, null)", [&] { return o->SetAdjustLinePos(0, nullptr, 0, nullptr, nullptr); }},
        {"IsConnected(null)", [&] { return o->IsConnected(nullptr, nullptr); }},
    };
    for (const auto& [what, call] : refused) EXPECT_EQ(E_FAIL, call()) << what;
    // Null reserved, rectangle and error-control arguments are accepted everywhere.
    EXPECT_EQ(S_OK, o->CreateKamvioDlg(nullptr));
    EXPECT_EQ(S_OK, o->SetDestFrameSize(640, 480, nullptr));
    EXPECT_EQ(S_OK, o->SetZoomPos(1, nullptr));
    EXPECT_EQ(window, Dialog()) << "the window outlived every refusal";
    LONG connected = 0;
    EXPECT_EQ(S_OK, o->IsConnected(&connected, nullptr));
    EXPECT_EQ(1, connected) << "and so did the connection";
}

TEST_F(BadInputTest, OutputsStayInsideTheCallersBuffers) {
    ASSERT_EQ(S_OK, Open());
    ASSERT_EQ(S_OK, ConnectFirst());
    IOvCanonSDK* o = object.get();
    Guarded count, maxZoom, zoom, connected;
    EXPECT_EQ(S_OK, o->GetDeviceCounts(reinterpret_cast<ULONG*>(&count.value), nullptr));
    EXPECT_EQ(S_OK, o->GetMaxZoomPos(reinterpret_cast<ULONG*>(&maxZoom.value), nullptr));
    EXPECT_EQ(S_OK, o->GetCurrentZoomPos(reinterpret_cast<ULONG*>(&zoom.value), nullptr));
    EXPECT_EQ(S_OK, o->IsConnected(reinterpret_cast<LONG*>(&connected.value), nullptr));
    for (const Guarded* g : {&count, &maxZoom, &zoom, &connected}) {
        EXPECT_TRUE(g->Intact());
        EXPECT_NE(kCanary, g->value);
    }
    ASSERT_EQ(count.value, 2u);

    // Records asked for, and records the buffer holds: asking for more than there are sources
    // (even more than the 256 the component ever reads) writes only the sources that exist.
    const std::pair<ULONG, size_t> asks[] = {{1, 1}, {2, 2}, {5, 2}, {300, 2}, {0xFFFFFFFF, 2}, {300, 300}};
    for (const auto& [asked, held] : asks) {
        GuardedBlock block(held * sizeof(SourceInfo));
        auto* records = reinterpret_cast<SourceInfo*>(block.data());
        EXPECT_EQ(S_OK, o->GetSouceInfo(asked, reinterpret_cast<LONG*>(records), nullptr)) << asked;
        for (size_t i = 0; i < held; ++i)
            EXPECT_EQ(records[i].sourceType == 0xCDCDCDCD, i >= 2) << asked << " record " << i;
    }
}

TEST_F(BadInputTest, AdjustmentLineCountsBeyondTheLimitAreRefusedAndDrawingGoesOn) {
    ASSERT_EQ(S_OK, Open());
    ASSERT_EQ(S_OK, ConnectFirst());
    IOvCanonSDK* o = object.get();
    ASSERT_EQ(S_OK, o->SetDestFrameSize(640, 480, nullptr));
    ASSERT_EQ(S_OK, o->OpenViewFinder(1, nullptr));
    constexpr ULONG kLimit = 65536;  // lines per direction
    GuardedBlock xs(kLimit * sizeof(ULONG)), ys(kLimit * sizeof(ULONG));
    auto* x = reinterpret_cast<ULONG*>(xs.data());
    auto* y = reinterpret_cast<ULONG*>(ys.data());
    for (ULONG i = 0; i < kLimit; ++i) x[i] = y[i] = i % 640;
    const std::tuple<ULONG, ULONG, HRESULT> rows[] = {
        {0xFFFFFFFF, 1, E_FAIL}, {1, 0xFFFFFFFF, E_FAIL}, {kLimit + 1, 1, E_FAIL}, {1, kLimit + 1, E_FAIL},
        {kLimit, kLimit, S_OK},  {0, 0, S_OK},            {3, 2, S_OK},
    };
    for (const auto& [xCount, yCount, expected] : rows) {
        // The arrays hold kLimit entries: a count within the limit reads no further.
        EXPECT_EQ(expected, o->SetAdjustLinePos(xCount, x, yCount, y, nullptr)) << xCount << " x " << yCount;
        const uint32_t before = Sim().SimFramesDelivered();
        EXPECT_TRUE(test_support::PumpUntil([&] { return Sim().SimFramesDelivered() > before + 1; }, 5000));
    }
}

TEST_F(BadInputTest, RecordNamesWithoutTerminatorAreCutAtTheirField) {
    ASSERT_EQ(S_OK, Open());
    IOvCanonSDK* o = object.get();
    SourceInfo record = FirstSource();
    memset(record.modelName, 'N', sizeof record.modelName);
    host.received.clear();
    ASSERT_EQ(S_OK, o->Connect(reinterpret_cast<LONG*>(&record), nullptr));
    const std::string name(sizeof record.modelName, 'N');
    ASSERT_FALSE(host.received.empty());
    EXPECT_EQ(host.received.back().text, name) << "the status names the camera by its 256 bytes";
    ASSERT_EQ(S_OK, o->SetZoomPos(1, nullptr));
    EXPECT_EQ(IniText("SetData.ini", name + "Setting", "Zoom Pos"), "1");
    ASSERT_EQ(S_OK, o->Disconnect(nullptr));

    // A record of 400 name bytes, right before an inaccessible page: no source of that type.
    GuardedBlock filled(sizeof(SourceInfo), 'N');
    host.received.clear();
    EXPECT_EQ(E_FAIL, o->Connect(reinterpret_cast<LONG*>(filled.data()), nullptr));
    for (const Notification& n : host.received) EXPECT_LE(n.text.size(), name.size());
}

TEST_F(BadInputTest, CameraNamesOfAnyLengthFindTheirOwnSection) {
    ASSERT_EQ(S_OK, Open());
    ASSERT_EQ(S_OK, ConnectFirst());
    const size_t lengths[] = {250, 252, 259, 260, 1000, 10000};
    uint32_t stored = 1;
    for (size_t length : lengths) {
        const std::string name(length, static_cast<char>('a' + stored));
        ASSERT_TRUE(WritePrivateProfileStringA((name + "Setting").c_str(), "Zoom Pos", std::to_string(stored).c_str(),
                                               TestFile("SetData.ini").c_str()));
        EXPECT_EQ(S_OK, object->InitDCSettingByIniFile(Bstr(name).get(), nullptr)) << length;
        uint32_t zoom = 0;
        Sim().SimGetSetting("ZoomPos", &zoom);
        EXPECT_EQ(zoom, stored++) << length;
    }
}

TEST_F(BadInputTest, SaveFoldersThatCannotHoldAnImageNameFallBackToTheDefault) {
    // Folders of a given total length below the test's folder, made of nested parts.
    auto folderOf = [&](size_t length) {
        std::string path = MakeFolder("long" + std::to_string(length));
        while (path.size() < length) {
            path += "\\" + std::string(std::min<size_t>(100, length - path.size() - 1), 'f');
            CreateDirectoryA(path.c_str(), nullptr);
        }
        test_support::WriteTextFile(path + "\\keep.txt", "x");
        return path;
    };
    GuardedBlock unterminated(100, 'u');
    const std::string file = m_folder + "\\keep.txt";
    const std::string fits = folderOf(200), tooLong = folderOf(240);
    const std::string beyond(300, 'b'), huge(10000, 'h');
    const std::pair<const char*, const char*> rows[] = {
        {fits.c_str(), fits.c_str()},
        {tooLong.c_str(), kDefaultFolder},  // no image name fits below it
        {file.c_str(), kDefaultFolder},
        {beyond.c_str(), kDefaultFolder},
        {huge.c_str(), kDefaultFolder},
        {reinterpret_cast<const char*>(unterminated.data()), kDefaultFolder},
        {nullptr, kDefaultFolder},
    };
    for (const auto& [folder, expected] : rows) {
        SCOPED_TRACE(folder ? std::string(folder, strnlen(folder, 60)) : "null");
        ASSERT_EQ(S_OK, Open(Para(folder)));
        ASSERT_EQ(S_OK, ConnectFirst());
        const std::string saved = Shoot();
        EXPECT_TRUE(StartsWith(saved, expected)) << saved;
        EXPECT_NE(GetFileAttributesA(saved.c_str()), INVALID_FILE_ATTRIBUTES) << "the picture is kept";
        ASSERT_EQ(S_OK, object->DestroyKamvioDlg(nullptr));
    }
    // A stored save path is taken without looking for the folder, but not when it is too long.
    ASSERT_EQ(S_OK, Open());
    ASSERT_EQ(S_OK, ConnectFirst());
    const std::string section = std::string(FirstSource().modelName) + "Setting";
    for (const std::string& stored : {tooLong, fits}) {
        WritePrivateProfileStringA(section.c_str(), "Save Path", stored.c_str(), TestFile("SetData.ini").c_str());
        ASSERT_EQ(S_OK, object->InitDCSettingByIniFile(Bstr(FirstSource().modelName).get(), nullptr));
        EXPECT_TRUE(StartsWith(Shoot(), stored == fits ? fits : m_folder));
    }
}

TEST_F(BadInputTest, ParameterBlocksOfRandomBytesAreSurvived) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        KamvioPara para;
        auto* bytes = reinterpret_cast<uint8_t*>(&para);
        for (size_t i = 0; i < sizeof para; ++i) bytes[i] = static_cast<uint8_t>(random());
        // All random: the host window is no window, so no camera window can be made.
        const bool parentExists = IsWindow(para.hwndHost);
        ASSERT_EQ(S_OK, object->InitKamvioDlg(reinterpret_cast<LONG*>(&para), nullptr, nullptr, nullptr));
        EXPECT_EQ(parentExists ? S_OK : E_FAIL, object->CreateKamvioDlg(nullptr));
        EXPECT_EQ(S_OK, object->DestroyKamvioDlg(nullptr));

        // A real host and its message numbers, the rest random: a wild save-folder pointer
        // counts as none, a save mode other than 1 or 2 changes nothing.
        const KamvioPara ours = Para();
        para.hwndHost = ours.hwndHost;
        para.msgFileSaved = ours.msgFileSaved;
        para.msgStatus = ours.msgStatus;
        para.msgPoweredOff = ours.msgPoweredOff;
        para.msgViewfinderEnable = ours.msgViewfinderEnable;
        ASSERT_EQ(S_OK, Open(para));
        ASSERT_EQ(S_OK, ConnectFirst());
        const std::string saved = Shoot();
        if (para.saveMode == 2)
            EXPECT_EQ(saved, "") << "images received into memory";
        else
            EXPECT_TRUE(StartsWith(saved, kDefaultFolder)) << saved;
        EXPECT_EQ(S_OK, object->DestroyKamvioDlg(nullptr));
    }
}
