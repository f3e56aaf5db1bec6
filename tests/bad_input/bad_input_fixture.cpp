#include "tests/bad_input/bad_input_fixture.h"

#include <cstring>
#include <filesystem>

#include "tests/common/test_support.h"
namespace bad_input {

UniqueBstr Bstr(const std::string& text) {
    return UniqueBstr(SysAllocString(std::wstring(text.begin(), text.end()).c_str()));
}

}  // namespace bad_input

using namespace bad_input;

void BadInputTest::SetUp() {
    FreshCamera();
    ASSERT_TRUE(host.hwnd());
    object = kamvio_test::CreateComponent();
    ASSERT_TRUE(object);
    m_folder = MakeFolder("pictures");
}

void BadInputTest::TearDown() {
    if (object) object->DestroyKamvioDlg(nullptr);
    object.reset();
    EXPECT_EQ("", Violations()) << "the component kept the camera SDK's contract";
    Sim().SimClearFaults();
    EXPECT_TRUE(test_support::TakeMessageBoxes().empty()) << "no message box for bad input";
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
    host.received.clear();
    if (object->TakePhoto(nullptr) != S_OK) return "";
    test_support::PumpUntil([&] { return !host.Of(kMsgFileSaved).empty(); }, 10000);
    return host.Of(kMsgFileSaved).empty() ? "" : host.Of(kMsgFileSaved)[0].text;
}

std::string BadInputTest::MakeFolder(const std::string& name) {
    const std::string folder = TestFile(name);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    CreateDirectoryA(folder.c_str(), nullptr);
    test_support::WriteTextFile(folder + "\\keep.txt", "x");
    return folder;
}
