// From the tools' messages to their source lines.
#include "frame/MessageNavigator.h"

#include "doc/KorvaneDoc.h"
#include "doc/KorvaneView.h"
#include "frame/BuildController.h"
#include "frame/OutputWindow.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
bool IsAbsolute(const std::string& path)
{
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

bool IsExistingFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Trimmed(const std::wstring& line)
{
    const size_t first = line.find_first_not_of(L" \t");
    const size_t last = line.find_last_not_of(L" \t\r");
    return first == std::wstring::npos ? std::string() : Narrow(line.substr(first, last - first + 1));
}
}

void CMessageNavigator::Next()
{
    Follow(m_output.NextMessage());
}

void CMessageNavigator::Previous()
{
    Follow(m_output.PreviousMessage());
}

void CMessageNavigator::Follow(const IndexedMessage* message)
{
    if (message)
        GoTo(*message);
    else
        m_frame.SetMessageText(LoadResString(IDS_NO_MORE_MESSAGES));
}

std::string CMessageNavigator::Summary() const
{
    const MessageCounts counts = m_output.CountMessages();
    return FormatResString(IDS_MESSAGE_SUMMARY, {std::to_string(counts.nErrors), std::to_string(counts.nWarnings)});
}

std::string CMessageNavigator::FileOf(const ToolMessage& message) const
{
    std::string folder = SplitPath(m_build.GetSourcePath()).folder;
    if (folder.empty()) {
        auto* document = dynamic_cast<CKorvaneDoc*>(m_frame.GetActiveDocument());
        folder = document ? SplitPath(document->GetSourcePath()).folder : std::string();
    }
    const std::string& named = message.strFile;
    const std::string path = FullPathOf(IsAbsolute(named) || folder.empty() ? named : folder + "\\" + named);
    return IsExistingFile(path) ? LongPathOf(path) : std::string();
}

void CMessageNavigator::GoTo(const IndexedMessage& message)
{
    // A copy: opening a file may let the panel take in more output meanwhile.
    const IndexedMessage chosen = message;
    m_output.SelectMessage(chosen);
    if (chosen.message.HasLocation()) {
        if (const std::string path = FileOf(chosen.message); !path.empty())
            ShowLine(path, chosen.message.nLine);
    }
    m_frame.SetMessageText(Trimmed(chosen.strLine));
}

void CMessageNavigator::ShowLine(const std::string& path, int line)
{
    auto* document = dynamic_cast<CKorvaneDoc*>(m_frame.GetActiveDocument());
    const bool open = document && !document->GetSourcePath().empty() && IsSameFile(path, document->GetSourcePath());
    // Another file goes the usual way, which asks about a modified document first.
    if (!open && !AfxGetApp()->OpenDocumentFile(path))
        return;
    auto* view = dynamic_cast<CKorvaneView*>(m_frame.GetActiveView());
    if (!view)
        return;
    view->SelectSourceLine(line - 1);
    ::SetFocus(view->GetSafeHwnd());
}
