// The one way work leaves the window's thread and comes back: a thread of its own runs the
// work, and what it hands back is delivered, through the message queue, on the thread that
// made the mailbox. A delivery owns what it carries; when the mailbox is gone first (its owner
// ended), a delivery still on its way is dropped where it is, on the worker's thread, with its
// payload, so nothing leaks and nothing reaches an object that no longer exists.
#pragma once

#include "framework/CWnd.h"
#include "framework/Handles.h"

#include <functional>
#include <memory>
#include <utility>

class CMailbox : public CWnd {
public:
    // Its window (never shown) is made on first use, on the thread that uses it: the owner's.
    CMailbox();
    // Deliveries still waiting go, unrun.
    ~CMailbox() override;
    CMailbox(const CMailbox&) = delete;
    CMailbox& operator=(const CMailbox&) = delete;

    // What a worker holds to hand things back; it may outlive the mailbox.
    class CSender {
    public:
        // Queues the delivery to run on the mailbox's thread; false (and the delivery gone)
        // when the mailbox is no more.
        bool Post(std::function<void()> delivery) const;

    private:
        friend class CMailbox;
        struct Inbox;
        explicit CSender(std::shared_ptr<Inbox> inbox) : m_inbox(std::move(inbox)) {}
        std::shared_ptr<Inbox> m_inbox;
    };
    CSender Sender();
    // The mailbox's window, made now if it was not yet; it also carries timers of an owner
    // that has no window of its own.
    HWND Window();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Runs what has arrived, in order, as long as the mailbox lasts.
    void Deliver();

    std::shared_ptr<CSender::Inbox> m_inbox;
};

// Starts a thread of the program's own that runs body. The thread's handle, which may be
// waited on or dropped; empty when no thread could be made (body is then never run).
UniqueHandle StartThread(std::function<void()> body);

// Runs work on a thread of its own and hands what it returns to done, on the mailbox's thread,
// while the mailbox lasts. The thread, as StartThread gives it.
template <typename T>
UniqueHandle RunOffThread(CMailbox& mailbox, std::function<T()> work, std::function<void(T)> done)
{
    return StartThread([sender = mailbox.Sender(), work = std::move(work), done = std::move(done)] {
        sender.Post([done, result = work()]() mutable { done(std::move(result)); });
    });
}
