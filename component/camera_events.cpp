#include "component/camera_events.h"

#include <algorithm>
#include <new>

#include "component/variant_util.h"

// ---- EventArgs

EventArgs::~EventArgs() {
    for (VARIANT& value : m_values) VariantClear(&value);
}

EventArgs& EventArgs::Text(const std::string& text) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = TextToBstr(text);
    m_values.push_back(value);
    return *this;
}

EventArgs& EventArgs::Texts(const std::vector<std::string>& texts) {
    VARIANT value;
    if (FAILED(TextsToVariant(texts, &value))) VariantInit(&value);
    m_values.push_back(value);
    return *this;
}

EventArgs& EventArgs::Long(long number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    m_values.push_back(value);
    return *this;
}

EventArgs& EventArgs::Bool(bool flag) {
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    m_values.push_back(value);
    return *this;
}

// ---- EventConnectionPoint

EventConnectionPoint::EventConnectionPoint(IConnectionPointContainer& container, const IID& events)
    : m_container(container), m_events(events) {}

STDMETHODIMP EventConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventConnectionPoint::AddRef() { return m_container.AddRef(); }
STDMETHODIMP_(ULONG) EventConnectionPoint::Release() { return m_container.Release(); }

STDMETHODIMP EventConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_events;
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &m_container;
    m_container.AddRef();
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(m_events, events.put_void())) &&
        FAILED(sink->QueryInterface(IID_IDispatch, events.put_void())))
        return CONNECT_E_CANNOTCONNECT;
    m_connections.push_back({m_nextCookie, events});
    *cookie = m_nextCookie++;
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::Unadvise(DWORD cookie) {
    auto found = std::find_if(m_connections.begin(), m_connections.end(),
                              [cookie](const Connection& c) { return c.cookie == cookie; });
    if (found == m_connections.end()) return CONNECT_E_NOCONNECTION;
    // The sink goes after the list is whole again: its release may call back into us.
    ComPtr<IDispatch> sink = found->sink;
    m_connections.erase(found);
    return S_OK;
}

STDMETHODIMP EventConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void EventConnectionPoint::Raise(DISPID id, const EventArgs& args) {
    if (m_connections.empty()) return;
    const std::vector<Connection> sinks = m_connections;  // held while they run
    std::vector<VARIANT> reversed(args.Values().rbegin(), args.Values().rend());  // automation order: last first
    for (const Connection& connection : sinks) {
        // Each sink gets the arguments as they were: a sink may change what it was given.
        std::vector<VARIANT> values(reversed.size());
        for (size_t i = 0; i < values.size(); ++i) {
            VariantInit(&values[i]);
            VariantCopy(&values[i], &reversed[i]);
        }
        DISPPARAMS params = {values.data(), nullptr, static_cast<UINT>(values.size()), 0};
        connection.sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        for (VARIANT& value : values) VariantClear(&value);
    }
}

void EventConnectionPoint::UnadviseAll() {
    std::vector<Connection> sinks;
    sinks.swap(m_connections);
}

// ---- the enumerator of the container's one connection point

namespace {

class SinglePointEnumerator final : public IEnumConnectionPoints {
public:
    SinglePointEnumerator(IConnectionPoint* point, ULONG position) : m_point(point), m_position(position) {
        m_point->AddRef();
    }
    SinglePointEnumerator(const SinglePointEnumerator&) = delete;
    SinglePointEnumerator& operator=(const SinglePointEnumerator&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumConnectionPoints)) {
            *ppv = static_cast<IEnumConnectionPoints*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_nRefs); }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG refs = InterlockedDecrement(&m_nRefs);
        if (refs == 0) delete this;
        return refs;
    }

    STDMETHODIMP Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (!points || (count > 1 && !fetched)) return E_POINTER;
        ULONG got = 0;
        if (count > 0 && m_position == 0) {
            points[0] = m_point;
            m_point->AddRef();
            got = 1;
            m_position = 1;
        }
        if (fetched) *fetched = got;
        return got == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        ULONG left = 1 - m_position;
        m_position += std::min(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override {
        m_position = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumConnectionPoints** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) SinglePointEnumerator(m_point, m_position);
        if (!*copy) return E_OUTOFMEMORY;
        (*copy)->AddRef();
        return S_OK;
    }

private:
    ~SinglePointEnumerator() { m_point->Release(); }

    IConnectionPoint* m_point;
    ULONG m_position;
    LONG m_nRefs = 0;
};

}  // namespace

HRESULT EnumerateConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!point) return E_INVALIDARG;
    auto* enumerator = new (std::nothrow) SinglePointEnumerator(point, 0);
    if (!enumerator) return E_OUTOFMEMORY;
    return enumerator->QueryInterface(IID_IEnumConnectionPoints, reinterpret_cast<void**>(out));
}
