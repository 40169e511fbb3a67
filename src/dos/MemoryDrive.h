// A drive held in memory: one drive letter whose files and folders live in this object, so a
// test can run a DOS program against files it sets up and look at them afterwards. Names are
// kept as DOS keeps them (uppercase, 8.3); every file is stamped 1 January 1980 until a
// program sets its time, and there are no sharing rules.
#pragma once

#include "dos/Drive.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dos {

class CMemoryDrive : public IDrive {
public:
    // Drive `drive` (0 for A) with an empty root folder.
    explicit CMemoryDrive(uint8_t drive = 2);

    // A file of these bytes at a full path ("C:\DIR\NAME.EXT"), its folders made as needed.
    void AddFile(const std::string& path, const std::string& bytes, uint8_t attributes = kAttrArchive);
    void AddFolder(const std::string& path);
    // The folder TemporaryFolder gives; none until this is called.
    void SetTemporaryFolder(const std::string& path) { m_strTemporary = path; }
    // Every folder and file with its attributes, time and bytes, a line each: what a test
    // compares before and after a program ran.
    std::string Dump() const;

    bool Exists(uint8_t drive) override { return drive == m_nDrive; }
    // A path as DOS writes it ("C:\DIR"), ASCII; empty for the root.
    DosError PathOf(const std::wstring& name, DosPath::FullPath& full) override;
    DosPath::FullPath Canonical(const DosPath::FullPath& path) override;
    bool TemporaryFolder(DosPath::FullPath& folder) override;
    DosError FreeSpace(uint8_t drive, uint64_t& available, uint64_t& total) override;
    DosError GetAttributes(const DosPath::FullPath& path, uint8_t& attributes) override;
    DosError SetAttributes(const DosPath::FullPath& path, uint8_t attributes) override;
    DosError Open(const DosPath::FullPath& path, uint8_t mode, OpenAction action, uint8_t attributes,
                  std::unique_ptr<IDriveFile>& file) override;
    DosError Delete(const DosPath::FullPath& path) override;
    DosError Rename(const DosPath::FullPath& from, const DosPath::FullPath& to) override;
    DosError MakeFolder(const DosPath::FullPath& path) override;
    DosError RemoveFolder(const DosPath::FullPath& path) override;
    DosError List(const DosPath::FullPath& folder, std::vector<DosDirEntry>& entries) override;

    // What a file holds; an open file keeps it after the file is deleted.
    struct Contents {
        std::vector<uint8_t> bytes;
        uint16_t date = 0x21;
        uint16_t time = 0;
    };

private:
    struct Node {
        uint8_t attributes = 0;
        std::shared_ptr<Contents> contents = std::make_shared<Contents>();
        // A folder's entries by the names DOS stores.
        std::map<std::string, std::unique_ptr<Node>> children;
        bool IsFolder() const { return (attributes & kAttrFolder) != 0; }
    };

    // The name DOS stores for a part of a path.
    static std::string StoredName(const std::string& part);
    static std::vector<std::string> Parts(const DosPath::FullPath& path);
    DosPath::FullPath Full(const std::string& path) const;
    // The folder that would hold `path` and the name there, or null with the error.
    Node* Parent(const DosPath::FullPath& path, std::string& name, DosError& error);
    // The entry at `path`, or null with the error.
    Node* Find(const DosPath::FullPath& path, DosError& error);
    Node& MakeFolders(const DosPath::FullPath& path);
    static void DumpNode(const Node& node, const std::string& path, std::string& text);

    uint8_t m_nDrive;
    Node m_root;
    std::string m_strTemporary;
};

}  // namespace dos
