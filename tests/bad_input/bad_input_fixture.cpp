#include "tests/bad_input/bad_input_fixture.h"

#include <cstring>
#include <filesystem>

#include "tests/common/test_support.h"
namespace bad_input {

Host::Host() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KamvioBadInputHost";
    RegisterClassA(&wc);  // fails harmlessly when already registered
    m_hwnd = CreateWindowExA(0, wc.lpszClassName, "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 800,
                             700, nullptr, nullptr, wc.hInstance, this);
}

LRESULT CALLBACK Host::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = test_support::WindowObject<Host>(window, message, lParam);
    if (!self || message < WM_USER) return DefWindowProcA(window, message, wParam, lParam);
    // Up to 300 characters: a name that ran past its 256 bytes would show.
    const auto* text = reinterpret_cast<const char*>(message == kMsgFileSaved ? wParam
                                                     : message == kMsgStatus  ? static_cast<WPARAM>(lParam)
                                                                              : 0);
    self->notices.push_back({message, wParam, text ? std::string(text, strnlen(text, 300)) : ""});
    return 0;
}

GuardedBlock::GuardedBlock(size_t size, uint8_t fill) {
    const size_t page = 4096, pages = (size + page - 1) / page + 1;
    m_base = VirtualAlloc(nullptr, pages * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD old = 0;
    VirtualProtect(static_cast<uint8_t*>(m_base) + (pages - 1) * page, page, PAGE_NOACCESS, &old);
    m_data = static_cast<uint8_t*>(m_base) + (pages - 1) * page - size;
    memset(m_data, fill, size);
}

std::string TestFile(const std::string& name) { return test_support::ExeFolder() + "\\" + name; }

std::string Ini(const std::string& file, const std::string& section, const std::string& key, size_t room) {
    std::string text(room, '\0');
    text.resize(GetPrivateProfileStringA(section.c_str(), key.c_str(), "", &text[0], static_cast<DWORD>(room),
                                         TestFile(file).c_str()));
    return text;
}

bool FileBytes(const std::string& path, std::string* bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    bytes->assign(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    return bytes->empty() || (ReadFile(file.get(), &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
                              read == bytes->size());
}

UniqueBstr Bstr(const std::string& text) {
    return UniqueBstr(SysAllocString(std::wstring(text.begin(), text.end()).c_str()));
}

}  // namespace bad_input

using namespace bad_input;

SimApi& BadInputTest::sim() {
    static SimApi api = [] {
        SimApi loaded;
        loaded.Load(LoadLibraryA(TestFile("CDSDK.dll").c_str()));  // kept: its state outlives the component's use
        return loaded;
    }();
    return api;
}

void BadInputTest::SetUp() {
    for (const char* name : {"KamvioPos.ini", "SetData.ini", "FilePath.ini", "KamvioML.ini"}) {
        SetFileAttributesA(TestFile(name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(TestFile(name).c_str());
    }
    ASSERT_TRUE(sim().SimReset) << "CDSDK.dll beside the test";
    sim().SimReset();
    test_support::ClearMessageBoxes();
    ASSERT_TRUE(host.hwnd());
    object = kamvio_test::CreateComponent();
    ASSERT_TRUE(object);
    m_folder = MakeFolder("pictures");
}

void BadInputTest::TearDown() {
    if (object) object->DestroyKamvioDlg(nullptr);
    object.reset();
    EXPECT_EQ(sim().SimViolationCount(), 0u) << "the component kept the camera SDK's contract";
    sim().SimClearFaults();
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty()) << "no message box for bad input";
}

KamvioPara BadInputTest::Para(const char* saveFolder) const {
    KamvioPara para{};
    para.hwndHost = host.hwnd();
    para.msgFileSaved = kMsgFileSaved;
    para.msgViewfinderEnable = kMsgViewfinder;
    para.saveMode = 1;
    para.showControls = 1;
    para.pszSaveFolder = saveFolder;
    para.msgStatus = kMsgStatus;
    para.msgPoweredOff = kMsgPoweredOff;
    return para;
}

HRESULT BadInputTest::Open(const KamvioPara& para, const LONG* rect) {
    HRESULT hr = object->InitKamvioDlg(reinterpret_cast<LONG*>(const_cast<KamvioPara*>(&para)),
                                       const_cast<LONG*>(rect), nullptr, nullptr);
    return FAILED(hr) ? hr : object->CreateKamvioDlg(nullptr);
}

SourceInfo BadInputTest::FirstSource() {
    SourceInfo record{};
    EXPECT_EQ(S_OK, object->GetSouceInfo(1, reinterpret_cast<LONG*>(&record), nullptr));
    return record;
}

HRESULT BadInputTest::ConnectFirst() {
    SourceInfo record = FirstSource();
    return object->Connect(reinterpret_cast<LONG*>(&record), nullptr);
}

std::string BadInputTest::Shoot() {
    host.notices.clear();
    if (object->TakePhoto(nullptr) != S_OK) return "";
    auto saved = [&] {
        for (const Notice& n : host.notices)
            if (n.message == kMsgFileSaved) return true;
        return false;
    };
    if (!test_support::PumpUntil(saved, 10000)) return "";
    for (const Notice& n : host.notices)
        if (n.message == kMsgFileSaved) return n.text;
    return "";
}

std::string BadInputTest::MakeFolder(const std::string& name) {
    const std::string folder = TestFile(name);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    CreateDirectoryA(folder.c_str(), nullptr);
    test_support::WriteTextFile(folder + "\\keep.txt", "x");
    return folder;
}
