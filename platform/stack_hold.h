// Objects a host may end from inside their own calls: a notification's handler destroys the
// window that sent it, a client releases the object from inside one of its events. Each stack
// frame that uses such an object holds it; an object doomed meanwhile is deleted when the last
// hold ends, and its code never runs on in freed memory.
#pragma once

class StackHolds {
public:
    StackHolds() = default;
    StackHolds(const StackHolds&) = delete;
    StackHolds& operator=(const StackHolds&) = delete;

    bool Held() const { return m_count > 0; }
    bool Doomed() const { return m_doomed; }
    // The owner lets go: deleted now when nothing holds it (true), else by the last hold.
    bool Doom() {
        m_doomed = true;
        return m_count == 0;
    }

private:
    template <typename T>
    friend class StackHold;
    int m_count = 0;
    bool m_doomed = false;
};

// T declares `StackHolds m_holds` and befriends StackHold<T>; T is deleted through `delete`.
template <typename T>
class StackHold {
public:
    explicit StackHold(T& object) : m_object(object) { ++m_object.m_holds.m_count; }
    StackHold(const StackHold&) = delete;
    StackHold& operator=(const StackHold&) = delete;
    ~StackHold() {
        if (--m_object.m_holds.m_count == 0 && m_object.m_holds.m_doomed) delete &m_object;
    }

private:
    T& m_object;
};
