// Deliveries from worker threads, and the threads themselves.
#include "framework/Mailbox.h"

#include "framework/PrivateMessages.h"

#include <mutex>
#include <vector>

struct CMailbox::CSender::Inbox {
    std::mutex mutex;
    // Null once the mailbox is gone: nothing is queued from then on.
    HWND window = nullptr;
    std::vector<std::function<void()>> waiting;
};

CMailbox::CMailbox() : m_inbox(std::make_shared<CSender::Inbox>()) {}

HWND CMailbox::Window()
{
    if (!m_hWnd && CreateEx(0, RegisterWndClass(0), "", 0, RECT{}, HWND_MESSAGE, 0)) {
        std::lock_guard lock(m_inbox->mutex);
        m_inbox->window = m_hWnd;
    }
    return m_hWnd;
}

CMailbox::CSender CMailbox::Sender()
{
    Window();
    return CSender(m_inbox);
}

CMailbox::~CMailbox()
{
    std::vector<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_inbox->mutex);
        m_inbox->window = nullptr;
        dropped.swap(m_inbox->waiting);
    }
}

bool CMailbox::CSender::Post(std::function<void()> delivery) const
{
    std::unique_lock lock(m_inbox->mutex);
    if (!m_inbox->window)
        return false;
    // One message wakes the mailbox for everything queued until it runs.
    if (m_inbox->waiting.empty() && !::PostMessageW(m_inbox->window, WM_MAILBOX_DELIVERY, 0, 0))
        return false;
    m_inbox->waiting.push_back(std::move(delivery));
    return true;
}

void CMailbox::Deliver()
{
    // A delivery may end the mailbox's owner, and the mailbox with it: the inbox stays until
    // the loop has looked.
    const std::shared_ptr<CSender::Inbox> inbox = m_inbox;
    std::vector<std::function<void()>> arrived;
    {
        std::lock_guard lock(inbox->mutex);
        arrived.swap(inbox->waiting);
    }
    for (std::function<void()>& delivery : arrived) {
        {
            std::lock_guard lock(inbox->mutex);
            if (!inbox->window)
                return;
        }
        delivery();
    }
}

LRESULT CMailbox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MAILBOX_DELIVERY) {
        Deliver();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

namespace {
DWORD WINAPI ThreadMain(LPVOID parameter)
{
    std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
    (*body)();
    return 0;
}
}

UniqueHandle StartThread(std::function<void()> body)
{
    auto parameter = std::make_unique<std::function<void()>>(std::move(body));
    UniqueHandle thread(::CreateThread(nullptr, 0, ThreadMain, parameter.get(), 0, nullptr));
    if (thread)
        parameter.release();
    return thread;
}
