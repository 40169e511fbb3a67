// A drive held in memory: a tree of folders whose files hold their bytes. Its answers are the
// ones the host's drive gives for the same calls, so that a program sees no difference.
#include "dos/MemoryDrive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace dos {

namespace {

// The most one file holds, and the free space the drive reports.
constexpr uint64_t kCapacity = 32 * 1024 * 1024;

// An open file: the contents it shares with its entry and where it reads and writes.
class CMemoryFile : public IDriveFile {
public:
    explicit CMemoryFile(std::shared_ptr<CMemoryDrive::Contents> contents) : m_contents(std::move(contents)) {}

    DosError Read(uint8_t* bytes, uint32_t count, uint32_t& got) override
    {
        const std::vector<uint8_t>& data = m_contents->bytes;
        got = m_nPosition < data.size() ? static_cast<uint32_t>(std::min<uint64_t>(count, data.size() - m_nPosition)) : 0;
        if (got)
            std::memcpy(bytes, data.data() + m_nPosition, got);
        m_nPosition += got;
        return kErrNone;
    }

    DosError Write(const uint8_t* bytes, uint32_t count, uint32_t& written) override
    {
        // A full file takes what fits, as a full disk does.
        std::vector<uint8_t>& data = m_contents->bytes;
        written = static_cast<uint32_t>(m_nPosition < kCapacity ? std::min<uint64_t>(count, kCapacity - m_nPosition) : 0);
        if (!written)
            return kErrNone;
        if (data.size() < m_nPosition + written)
            data.resize(m_nPosition + written);
        std::memcpy(data.data() + m_nPosition, bytes, written);
        m_nPosition += written;
        return kErrNone;
    }

    DosError Truncate() override
    {
        m_contents->bytes.resize(std::min<uint64_t>(m_nPosition, kCapacity));
        return kErrNone;
    }

    DosError Seek(int64_t distance, SeekOrigin origin, uint64_t& position) override
    {
        int64_t base = origin == SeekOrigin::Start ? 0
                       : origin == SeekOrigin::Current ? static_cast<int64_t>(m_nPosition)
                                                        : static_cast<int64_t>(m_contents->bytes.size());
        if (base + distance < 0)
            return kErrSeek;
        m_nPosition = position = static_cast<uint64_t>(base + distance);
        return kErrNone;
    }

    uint64_t Size() override { return m_contents->bytes.size(); }

    DosError GetTime(uint16_t& date, uint16_t& time) override
    {
        date = m_contents->date;
        time = m_contents->time;
        return kErrNone;
    }

    DosError SetTime(uint16_t date, uint16_t time) override
    {
        m_contents->date = date;
        m_contents->time = time;
        return kErrNone;
    }

    void Commit() override {}

private:
    std::shared_ptr<CMemoryDrive::Contents> m_contents;
    uint64_t m_nPosition = 0;
};

}

CMemoryDrive::CMemoryDrive(uint8_t drive) : m_nDrive(drive)
{
    m_root.attributes = kAttrFolder;
}

std::string CMemoryDrive::StoredName(const std::string& part) { return DosPath::Upper(DosPath::Truncate83(part)); }

std::vector<std::string> CMemoryDrive::Parts(const DosPath::FullPath& path)
{
    std::vector<std::string> parts;
    for (size_t start = 1; start < path.path.size();) {
        size_t end = std::min(path.path.find('\\', start), path.path.size());
        parts.push_back(path.path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

DosPath::FullPath CMemoryDrive::Full(const std::string& path) const
{
    DosPath::FullPath full;
    DosPath::Resolve(path.empty() ? "\\" : path, m_nDrive, [](uint8_t) { return std::string(); }, full);
    return full;
}

CMemoryDrive::Node* CMemoryDrive::Parent(const DosPath::FullPath& path, std::string& name, DosError& error)
{
    std::vector<std::string> parts = Parts(path);
    if (path.drive != m_nDrive || parts.empty()) {
        error = kErrPathNotFound;
        return nullptr;
    }
    Node* folder = &m_root;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        auto child = folder->children.find(StoredName(parts[i]));
        if (child == folder->children.end() || !child->second->IsFolder()) {
            error = kErrPathNotFound;
            return nullptr;
        }
        folder = child->second.get();
    }
    name = StoredName(parts.back());
    error = kErrNone;
    return folder;
}

CMemoryDrive::Node* CMemoryDrive::Find(const DosPath::FullPath& path, DosError& error)
{
    if (path.drive == m_nDrive && path.path == "\\") {
        error = kErrNone;
        return &m_root;
    }
    std::string name;
    Node* folder = Parent(path, name, error);
    if (!folder)
        return nullptr;
    auto child = folder->children.find(name);
    if (child == folder->children.end()) {
        error = kErrFileNotFound;
        return nullptr;
    }
    return child->second.get();
}

CMemoryDrive::Node& CMemoryDrive::MakeFolders(const DosPath::FullPath& path)
{
    Node* folder = &m_root;
    for (const std::string& part : Parts(path)) {
        std::unique_ptr<Node>& child = folder->children[StoredName(part)];
        if (!child) {
            child = std::make_unique<Node>();
            child->attributes = kAttrFolder;
        }
        folder = child.get();
    }
    return *folder;
}

void CMemoryDrive::AddFolder(const std::string& path) { MakeFolders(Full(path)); }

void CMemoryDrive::AddFile(const std::string& path, const std::string& bytes, uint8_t attributes)
{
    DosPath::FullPath full = Full(path);
    size_t slash = full.path.find_last_of('\\');
    DosPath::FullPath folder{full.drive, slash == 0 ? "\\" : full.path.substr(0, slash)};
    Node& parent = MakeFolders(folder);
    auto node = std::make_unique<Node>();
    node->attributes = attributes;
    node->contents->bytes.assign(bytes.begin(), bytes.end());
    parent.children[StoredName(full.path.substr(slash + 1))] = std::move(node);
}

void CMemoryDrive::DumpNode(const Node& node, const std::string& path, std::string& text)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %02X %04X %04X ", node.attributes, node.contents->date, node.contents->time);
    text += path + stamp + std::string(node.contents->bytes.begin(), node.contents->bytes.end()) + "\n";
    for (const auto& [name, child] : node.children)
        DumpNode(*child, path + "\\" + name, text);
}

std::string CMemoryDrive::Dump() const
{
    std::string text;
    DumpNode(m_root, std::string(1, static_cast<char>('A' + m_nDrive)) + ":", text);
    return text;
}

DosError CMemoryDrive::PathOf(const std::wstring& name, DosPath::FullPath& full)
{
    std::string text;
    for (wchar_t c : name) {
        if (c < 0x20 || c > 0x7E)
            return kErrPathNotFound;
        text.push_back(static_cast<char>(c));
    }
    DosError error = kErrNone;
    if (!Find(Full(text), error))
        return error;
    full = Canonical(Full(text));
    return kErrNone;
}

// Every entry is kept under the name DOS stores, so that is the one spelling.
DosPath::FullPath CMemoryDrive::Canonical(const DosPath::FullPath& path)
{
    DosPath::FullPath canonical{path.drive, ""};
    for (const std::string& part : Parts(path))
        canonical.path += "\\" + StoredName(part);
    if (canonical.path.empty())
        canonical.path = "\\";
    return canonical;
}

bool CMemoryDrive::TemporaryFolder(DosPath::FullPath& folder)
{
    if (m_strTemporary.empty())
        return false;
    folder = Canonical(Full(m_strTemporary));
    return true;
}

DosError CMemoryDrive::FreeSpace(uint8_t drive, uint64_t& available, uint64_t& total)
{
    if (drive != m_nDrive)
        return kErrInvalidDrive;
    available = total = kCapacity;
    return kErrNone;
}

DosError CMemoryDrive::GetAttributes(const DosPath::FullPath& path, uint8_t& attributes)
{
    DosError error = kErrNone;
    if (Node* node = Find(path, error))
        attributes = node->attributes;
    return error;
}

DosError CMemoryDrive::SetAttributes(const DosPath::FullPath& path, uint8_t attributes)
{
    DosError error = kErrNone;
    if (Node* node = Find(path, error)) {
        const uint8_t settable = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
        node->attributes = static_cast<uint8_t>((node->attributes & ~settable) | (attributes & settable));
    }
    return error;
}

DosError CMemoryDrive::Open(const DosPath::FullPath& path, uint8_t mode, OpenAction action, uint8_t attributes,
                            std::unique_ptr<IDriveFile>& file)
{
    std::string name;
    DosError error = kErrNone;
    Node* folder = Parent(path, name, error);
    if (!folder)
        return error;
    auto found = folder->children.find(name);
    Node* node = found == folder->children.end() ? nullptr : found->second.get();
    bool writes = (mode & 7) != 0 || action != OpenAction::OpenExisting;
    if (node && (node->IsFolder() || (writes && (node->attributes & kAttrReadOnly))))
        return kErrAccessDenied;
    if (node && action == OpenAction::CreateNew)
        return kErrFileExists;
    if (!node && (action == OpenAction::OpenExisting || action == OpenAction::TruncateExisting))
        return kErrFileNotFound;
    if (!node) {
        auto made = std::make_unique<Node>();
        made->attributes = static_cast<uint8_t>(kAttrArchive | (attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem)));
        node = made.get();
        folder->children[name] = std::move(made);
    } else if (action != OpenAction::OpenExisting) {
        node->contents->bytes.clear();
    }
    file = std::make_unique<CMemoryFile>(node->contents);
    return kErrNone;
}

DosError CMemoryDrive::Delete(const DosPath::FullPath& path)
{
    std::string name;
    DosError error = kErrNone;
    Node* folder = Parent(path, name, error);
    if (!folder)
        return error;
    auto found = folder->children.find(name);
    if (found == folder->children.end())
        return kErrFileNotFound;
    if (found->second->IsFolder() || (found->second->attributes & kAttrReadOnly))
        return kErrAccessDenied;
    folder->children.erase(found);
    return kErrNone;
}

DosError CMemoryDrive::Rename(const DosPath::FullPath& from, const DosPath::FullPath& to)
{
    std::string fromName, toName;
    DosError error = kErrNone;
    Node* fromFolder = Parent(from, fromName, error);
    if (!fromFolder)
        return error;
    Node* toFolder = Parent(to, toName, error);
    if (!toFolder)
        return error;
    auto found = fromFolder->children.find(fromName);
    if (found == fromFolder->children.end())
        return kErrFileNotFound;
    if (toFolder->children.count(toName))
        return kErrFileExists;
    // A folder cannot go inside itself.
    std::string fromPath = Canonical(from).path + "\\";
    if (Canonical(to).path.compare(0, fromPath.size(), fromPath) == 0)
        return kErrAccessDenied;
    std::unique_ptr<Node> node = std::move(found->second);
    fromFolder->children.erase(found);
    toFolder->children[toName] = std::move(node);
    return kErrNone;
}

DosError CMemoryDrive::MakeFolder(const DosPath::FullPath& path)
{
    std::string name;
    DosError error = kErrNone;
    Node* folder = Parent(path, name, error);
    if (!folder)
        return error;
    if (folder->children.count(name))
        return kErrFileExists;
    MakeFolders(path);
    return kErrNone;
}

DosError CMemoryDrive::RemoveFolder(const DosPath::FullPath& path)
{
    std::string name;
    DosError error = kErrNone;
    Node* folder = Parent(path, name, error);
    if (!folder)
        return error;
    auto found = folder->children.find(name);
    if (found == folder->children.end())
        return kErrFileNotFound;
    if (!found->second->IsFolder())
        return kErrPathNotFound;
    if (!found->second->children.empty())
        return kErrAccessDenied;
    folder->children.erase(found);
    return kErrNone;
}

DosError CMemoryDrive::List(const DosPath::FullPath& folder, std::vector<DosDirEntry>& entries)
{
    entries.clear();
    DosError error = kErrNone;
    Node* node = Find(folder, error);
    if (!node || !node->IsFolder())
        return kErrPathNotFound;
    auto entry = [](const std::string& name, const Node& of) {
        return DosDirEntry{name, of.attributes, of.contents->time, of.contents->date,
                           static_cast<uint32_t>(of.contents->bytes.size())};
    };
    if (node != &m_root) {
        entries.push_back(entry(".", *node));
        entries.push_back(entry("..", *node));
    }
    for (const auto& [name, child] : node->children)
        entries.push_back(entry(name, *child));
    return kErrNone;
}

}  // namespace dos
