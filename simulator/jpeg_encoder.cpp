#include "simulator/jpeg_encoder.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include "platform/handles.h"

namespace sim {

namespace {

// COM for the duration of one encoding, on whatever thread the caller uses.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    // RPC_E_CHANGED_MODE: the thread already lives in a single-threaded apartment, which serves too.
    bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT result_;
};

bool Encode(OwnedImage& image, float quality, IStream* stream) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.put_void())))
        return false;
    ComPtr<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put()))) return false;
    if (FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache))) return false;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) return false;
    if (options) {
        PROPBAG2 option = {};
        option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value;
        VariantInit(&value);
        value.vt = VT_R4;
        value.fltVal = quality;
        options->Write(1, &option, &value);  // an encoder without the option keeps its default
    }
    if (FAILED(frame->Initialize(options.get()))) return false;
    if (FAILED(frame->SetSize(static_cast<UINT>(image.Width()), static_cast<UINT>(image.Height())))) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
    UINT stride = static_cast<UINT>(image.Width()) * 3;
    std::vector<uint8_t>& pixels = image.Pixels();
    if (FAILED(frame->WritePixels(static_cast<UINT>(image.Height()), stride, static_cast<UINT>(pixels.size()),
                                  pixels.data())))
        return false;
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

bool EncodeJpeg(OwnedImage& image, float quality, std::vector<uint8_t>* out) {
    out->clear();
    ComScope com;
    if (!com.Usable()) return false;
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()))) return false;
    if (!Encode(image, quality, stream.get())) return false;
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(stream.get(), &memory))) return false;
    STATSTG stat = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
    const void* bytes = GlobalLock(memory);
    if (!bytes) return false;
    out->assign(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + stat.cbSize.QuadPart);
    GlobalUnlock(memory);
    return !out->empty();
}

}  // namespace sim
