// Where the messages the user must see go: a message box by default. A host that wants errors
// and events rather than boxes (a script has nobody to click them) routes the notices of its
// work to a sink of its own, for the scope of that work on a thread.
#pragma once

#include <windows.h>

class NoticeSink {
public:
    // A translated message that would have been a box. Called on the thread that raised it.
    virtual void OnNotice(const char* caption, const char* text) = 0;

protected:
    ~NoticeSink() = default;
};

// Routes this thread's notices to `sink` (null: boxes again) until the scope ends.
class NoticeScope {
public:
    explicit NoticeScope(NoticeSink* sink);
    NoticeScope(const NoticeScope&) = delete;
    NoticeScope& operator=(const NoticeScope&) = delete;
    ~NoticeScope();

private:
    NoticeSink* m_previous;
};

NoticeSink* CurrentNoticeSink();

// A message box of `type` with the texts as given, or the thread's sink; the box's result, or
// IDOK when a sink took it.
int ShowNotice(HWND owner, const char* text, const char* caption, UINT type);

// The same without waiting for the user: the box appears on a thread of its own (no owner), so
// that whoever raised it goes on at once. A sink of the calling thread takes it at once instead.
void ShowNoticeLater(const char* text, const char* caption, UINT type);
