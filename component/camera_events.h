// The outgoing side of the scriptable camera class: one connection point for its events
// dispinterface, the sinks advised to it, and the raising of an event at each of them.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "platform/handles.h"

// The arguments of one event, first argument first; the values are owned and cleared here.
class EventArgs {
public:
    EventArgs() = default;
    EventArgs(const EventArgs&) = delete;
    EventArgs& operator=(const EventArgs&) = delete;
    ~EventArgs();

    EventArgs& Text(const std::string& text);
    EventArgs& Texts(const std::vector<std::string>& texts);  // a SAFEARRAY of VARIANT(BSTR)
    EventArgs& Long(long number);
    EventArgs& Bool(bool value);
    const std::vector<VARIANT>& Values() const { return m_values; }

private:
    std::vector<VARIANT> m_values;
};

class EventConnectionPoint final : public IConnectionPoint {
public:
    // References to the point are references to its container.
    EventConnectionPoint(IConnectionPointContainer& container, const IID& events);
    EventConnectionPoint(const EventConnectionPoint&) = delete;
    EventConnectionPoint& operator=(const EventConnectionPoint&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    // The sink must answer the events interface or IDispatch.
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    // Not offered: nothing in the object model needs it.
    STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

    const IID& Events() const { return m_events; }
    // Calls event `id` on every sink advised when it starts; a sink may unadvise, or advise
    // others, from inside.
    void Raise(DISPID id, const EventArgs& args);
    // Lets every sink go (the object is going).
    void UnadviseAll();

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IDispatch> sink;
    };

    IConnectionPointContainer& m_container;
    IID m_events;
    std::vector<Connection> m_connections;
    DWORD m_nextCookie = 1;
};

// An enumerator over one connection point, for IConnectionPointContainer::EnumConnectionPoints.
HRESULT EnumerateConnectionPoint(IConnectionPoint* point, IEnumConnectionPoints** out);
