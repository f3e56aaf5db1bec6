#include "component/variant_util.h"

#include "component/bstr_text.h"
#include "platform/handles.h"

namespace {

// Clears what it holds when it goes.
class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&m_value); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
    ~OwnedVariant() { VariantClear(&m_value); }
    VARIANT* get() { return &m_value; }

private:
    VARIANT m_value;
};

// The value behind a reference; a reference to nothing is no value.
bool Dereferenced(const VARIANT& value, OwnedVariant* out) {
    if ((value.vt & VT_BYREF) && !value.byref) return false;
    if (value.vt == (VT_BYREF | VT_VARIANT) && (value.pvarVal->vt & VT_BYREF) && !value.pvarVal->byref) return false;
    return SUCCEEDED(VariantCopyInd(out->get(), const_cast<VARIANT*>(&value)));
}

bool IsNumberType(VARTYPE type) {
    switch (type) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8:
    case VT_INT: case VT_UINT: case VT_R4: case VT_R8: case VT_DECIMAL: case VT_CY: case VT_BOOL: case VT_BSTR:
        return true;
    default:
        return false;
    }
}

bool ElementToNumber(const VARIANT& element, std::vector<uint32_t>* numbers) {
    long number = 0;
    if (!VariantToLong(element, &number)) return false;
    numbers->push_back(static_cast<uint32_t>(number));
    return true;
}

bool SafeArrayToNumbers(SAFEARRAY* array, VARTYPE type, std::vector<uint32_t>* numbers) {
    if (!array || SafeArrayGetDim(array) != 1) return false;
    LONG low = 0, high = -1;
    if (FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high))) return false;
    // A DECIMAL element would not fit the variant's value slot it is read into.
    if (type != VT_VARIANT && (!IsNumberType(type) || type == VT_DECIMAL)) return false;
    for (LONG i = low; i <= high; ++i) {
        OwnedVariant element;
        if (type == VT_VARIANT) {
            if (FAILED(SafeArrayGetElement(array, &i, element.get()))) return false;
        } else {
            // Any element type the array holds is read into a variant of that type.
            element.get()->vt = type;
            if (FAILED(SafeArrayGetElement(array, &i, &element.get()->lVal))) {
                element.get()->vt = VT_EMPTY;
                return false;
            }
        }
        if (!ElementToNumber(*element.get(), numbers)) return false;
    }
    return true;
}

HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT* value) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr);
}

// A JScript array: an object with "length" and the elements as properties "0", "1", ...
bool ScriptArrayToNumbers(IDispatch* object, std::vector<uint32_t>* numbers) {
    if (!object) return false;
    OwnedVariant length;
    long count = 0;
    if (FAILED(GetProperty(object, L"length", length.get())) || !VariantToLong(*length.get(), &count) || count < 0)
        return false;
    for (long i = 0; i < count; ++i) {
        OwnedVariant element;
        const std::wstring name = std::to_wstring(i);
        if (FAILED(GetProperty(object, name.c_str(), element.get())) || !ElementToNumber(*element.get(), numbers))
            return false;
    }
    return true;
}

}  // namespace

bool IsMissing(const VARIANT& value) {
    OwnedVariant plain;
    if (!Dereferenced(value, &plain)) return false;
    const VARIANT& v = *plain.get();
    return v.vt == VT_EMPTY || v.vt == VT_NULL || (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND);
}

bool VariantToLong(const VARIANT& value, long* number) {
    OwnedVariant plain, converted;
    if (!number || !Dereferenced(value, &plain) || !IsNumberType(plain.get()->vt)) return false;
    if (plain.get()->vt == VT_BSTR && !plain.get()->bstrVal) return false;
    if (FAILED(VariantChangeType(converted.get(), plain.get(), 0, VT_I4))) return false;
    *number = converted.get()->lVal;
    return true;
}

bool VariantToText(const VARIANT& value, std::string* text) {
    OwnedVariant plain;
    if (!text || !Dereferenced(value, &plain) || plain.get()->vt != VT_BSTR) return false;
    *text = BstrToText(plain.get()->bstrVal);
    return true;
}

bool VariantToNumbers(const VARIANT& value, std::vector<uint32_t>* numbers) {
    OwnedVariant plain;
    if (!numbers || !Dereferenced(value, &plain)) return false;
    numbers->clear();
    const VARIANT& v = *plain.get();
    if (v.vt & VT_ARRAY) return SafeArrayToNumbers(v.parray, static_cast<VARTYPE>(v.vt & ~VT_ARRAY), numbers);
    if (v.vt == VT_DISPATCH) return ScriptArrayToNumbers(v.pdispVal, numbers);
    return false;
}

HRESULT TextsToVariant(const std::vector<std::string>& texts, VARIANT* out) {
    if (!out) return E_POINTER;
    VariantInit(out);
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(texts.size()));
    if (!array) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
        VARIANT element;
        element.vt = VT_BSTR;
        element.bstrVal = TextToBstr(texts[i]);
        HRESULT hr = element.bstrVal ? SafeArrayPutElement(array, &i, &element) : E_OUTOFMEMORY;
        VariantClear(&element);  // the array keeps a copy
        if (FAILED(hr)) {
            SafeArrayDestroy(array);
            return hr;
        }
    }
    out->vt = VT_ARRAY | VT_VARIANT;
    out->parray = array;
    return S_OK;
}

BSTR TextToBstr(const std::string& text) {
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, size > 0 ? static_cast<UINT>(size) : 0);
    if (out && size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, size);
    return out;
}

std::string BstrToText(BSTR text) {
    std::string out;
    BstrToAnsi(text, &out);
    return out;
}
